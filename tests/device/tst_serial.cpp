// Every command status end to end: the real serial port code against zelvo-sim
// on a pseudo-terminal, with the simulator's faults. The suite runs once through
// each serial link, so that both keep the same guarantees.
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QSerialPort>
#include <QtTest>
#include <optional>

#include "config/ParameterCatalogue.h"
#include "device/DeviceCharset.h"
#include "device/Protocol.h"
#include "device/links/PosixSerialLink.h"
#include "device/links/QtSerialLink.h"
#include "support/SerialCalls.h"
#include "support/SerialStatusRows.h"
#include "support/SimProcess.h"

namespace {

// The device (or a cable) holds flow control: the port takes no more output
// until it is let go.
class StoppedOutput {
public:
    explicit StoppedOutput(const QString& path)
        : fd_(::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {
        if (fd_ >= 0) ::tcflow(fd_, TCOOFF);
    }
    ~StoppedOutput() {
        if (fd_ < 0) return;
        ::tcflow(fd_, TCOON);
        ::close(fd_);
    }
    bool holds() const { return fd_ >= 0; }

private:
    int fd_;
};

// Another process that has opened the port and made it exclusive, as a
// terminal program does.
class OtherProcessHolding {
public:
    explicit OtherProcessHolding(const QString& path) {
        int ready[2], hold[2];
        if (::pipe(ready) != 0) return;
        if (::pipe(hold) != 0) return;
        const QByteArray native = QFile::encodeName(path);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            ::close(hold[1]);
            const int fd = ::open(native.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
            const char held = fd >= 0 && ::ioctl(fd, TIOCEXCL) == 0;
            [[maybe_unused]] ssize_t n = ::write(ready[1], &held, 1);
            char end;
            n = ::read(hold[0], &end, 1);     // until the test lets go
            if (held) ::ioctl(fd, TIOCNXCL);  // as such a program does when it closes the port
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(hold[0]);
        release_ = hold[1];
        char held = 0;
        held_ = pid_ > 0 && ::read(ready[0], &held, 1) == 1 && held;
        ::close(ready[0]);
    }
    ~OtherProcessHolding() {
        if (release_ >= 0) ::close(release_);
        if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
    }
    bool holds() const { return held_; }
    qint64 pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    int release_ = -1;
    bool held_ = false;
};

// Whether some program's exclusive flag is set on the terminal.
bool ExclusiveFlagSet(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return errno == EBUSY;
    int set = 0;
    ::ioctl(fd, TIOCGEXCL, &set);
    ::close(fd);
    return set != 0;
}

// The reason ProbePort gives in a process that runs as the unprivileged user
// "nobody" (empty when the port opens); none when no such process can be run.
std::optional<QString> OpenErrorAsNobody() {
    int out[2];
    if (::pipe(out) != 0) return {};
    const passwd* nobody = ::getpwnam("nobody");
    const uid_t uid = nobody ? nobody->pw_uid : 65534;
    const gid_t gid = nobody ? nobody->pw_gid : 65534;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(out[0]);
        if (::setgroups(0, nullptr) == 0 && ::setgid(gid) == 0 && ::setuid(uid) == 0) {
            const QByteArray reason =
                "nobody:" + (ProbePort() ? QByteArray() : LastPortOpenError().toUtf8());
            [[maybe_unused]] ssize_t n = ::write(out[1], reason.constData(), size_t(reason.size()));
        }
        ::_exit(0);
    }
    ::close(out[1]);
    QByteArray reason;
    char buffer[512];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) reason.append(buffer, int(n));
    ::close(out[0]);
    if (child > 0) ::waitpid(child, nullptr, 0);
    if (!reason.startsWith("nobody:")) return std::nullopt;
    return QString::fromUtf8(reason.mid(7));
}

// Puts a device file's owner and mode back as they were.
class FileModeRestorer {
public:
    explicit FileModeRestorer(const QString& path) : path_(QFile::encodeName(path)) {
        saved_ = ::stat(path_.constData(), &info_) == 0;
    }
    ~FileModeRestorer() {
        if (!saved_) return;
        [[maybe_unused]] int ignored = ::chown(path_.constData(), info_.st_uid, info_.st_gid);
        ::chmod(path_.constData(), info_.st_mode & 07777);
    }

private:
    QByteArray path_;
    struct stat info_ {};
    bool saved_ = false;
};

}  // namespace

class SerialLinkSuite : public QObject {
    Q_OBJECT

public:
    explicit SerialLinkSuite(SerialLink& link) : link_(link) {}

private:
    SerialLink& link_;
    std::unique_ptr<SimProcess> sim;

    using Outcome = SerialOutcome;
    static Outcome readParameter() { return ReadDocumentNameTimed(); }
    static CommandStatus goods(uint8_t mode, uint16_t index, QByteArray& name) {
        return ExchangeGoodsRecord(mode, index, name);
    }

private slots:
    void initTestCase() {
        sim = std::make_unique<SimProcess>();
        QVERIFY2(sim->isReady(), qPrintable(sim->errorString()));
    }
    void init() {
        SetLinkOverride(&link_);
        QVERIFY(sim->command(QStringLiteral("clear-faults")));
        PortSettings& s = CurrentPortSettings();
        s = PortSettings{};
        s.PortName = sim->portPath();
        s.BaudRate = 115200;
        s.ByteTimeout = 100;
        s.TotalTimeout = 600;
        // Each test starts on a settled line: a failure in the last one would
        // make this test's first exchange wait for the line to go quiet.
        QCOMPARE(readParameter().status, StatusOk);
        // The simulator has seen that close before the test begins: it clears
        // the exclusive flag when the last opener closes.
        QVERIFY(sim->command(QStringLiteral("ping")));
    }
    void cleanupTestCase() { SetLinkOverride(nullptr); }

    void statuses_data() { AddSerialStatusRows(); }
    void statuses() { CheckSerialStatusRow(*sim); }

    // The request cannot leave the port: the exchange still ends within the
    // request's line time and the total time-out, and the next one is unharmed.
    void stoppedOutputKeepsTheTimeBound() {
        {
            StoppedOutput stopped(sim->portPath());
            QVERIFY(stopped.holds());
            const Outcome outcome = readParameter();
            QCOMPARE(outcome.status, StatusNoAnswer);
            // 40 bytes at 115200 bit/s take 4 ms; the rest is a generous allowance.
            QVERIFY2(outcome.ms <= 600 + 4 + 250, QByteArray::number(outcome.ms).constData());
        }
        QCOMPARE(readParameter().status, StatusOk);
    }

    void lateAnswerDoesNotSpoilTheNextExchange() {
        QVERIFY(sim->command(QStringLiteral("fault delay 800 count=1")));
        QCOMPARE(readParameter().status, StatusNoAnswer);
        QTest::qWait(400);  // the late answer would arrive now, with the port closed
        QCOMPARE(readParameter().status, StatusOk);
    }

    // The device answers record 5 after the time-out, 1, 2 or 10 total
    // time-outs late, while the program has gone on: no later record is ever
    // given another's answer. What the line brings before the marker's answer
    // is dropped; while the line stays out of step the records fail instead
    // of being read, and once the late answer has gone by every record reads
    // as its own.
    void lateAnswerIsNeverTakenForAnotherRecord_data() {
        QTest::addColumn<int>("times");
        QTest::newRow("1 total time-out late") << 1;
        QTest::newRow("2 total time-outs late") << 2;
        QTest::newRow("10 total time-outs late") << 10;
    }
    void lateAnswerIsNeverTakenForAnotherRecord() {
        QFETCH(int, times);
        constexpr int total = 200;
        const QList<QByteArray> names{"FIRST", "SECOND", "THIRD",  "FOURTH",
                                      "FIFTH", "SIXTH",  "SEVENTH"};
        for (int i = 0; i < names.size(); ++i) {
            QByteArray name = names.at(i);
            QCOMPARE(goods(ModeWrite, uint16_t(4 + i), name), StatusOk);
        }
        CurrentPortSettings().TotalTimeout = total;
        CurrentPortSettings().ByteTimeout = 30;
        QVERIFY(sim->command(
            QStringLiteral("fault late %1 cmd=0x74 index=5 count=1").arg(times * total + 20)));
        QElapsedTimer clock;
        clock.start();
        int outOfStep = 0;
        for (int i = 0; i < names.size(); ++i) {
            QByteArray name;
            const CommandStatus status = goods(ModeRead, uint16_t(4 + i), name);
            if (i == 1) {
                QCOMPARE(status, StatusNoAnswer);
                continue;
            }
            if (status == StatusOutOfStep) {
                ++outOfStep;
                continue;
            }
            QCOMPARE(status, StatusOk);
            QCOMPARE(name, names.at(i));
        }
        // One marker answers at once when the late answer is due within its
        // time-out; ten time-outs outlast every marker of the records after it.
        if (times <= 2) QCOMPARE(outOfStep, 0);
        if (times == 10) QVERIFY(outOfStep > 0);
        QTest::qWait(int(std::max<qint64>(0, times * total + 100 - clock.elapsed())));
        for (int i = 0; i < names.size(); ++i) {
            QByteArray name;
            CommandStatus status = goods(ModeRead, uint16_t(4 + i), name);
            // The markers' own answers still queued after the late one may
            // cost one more round; never a wrong record.
            if (status != StatusOk) status = goods(ModeRead, uint16_t(4 + i), name);
            QCOMPARE(status, StatusOk);
            QCOMPARE(name, names.at(i));
        }
    }

    // A device that never comes back: three markers, then every later
    // exchange tries one marker and fails with its own text, its request
    // never sent.
    void silentLineFailsOutOfStep() {
        QVERIFY(sim->command(QStringLiteral("fault silent")));
        CurrentPortSettings().TotalTimeout = 150;
        QCOMPARE(readParameter().status, StatusNoAnswer);
        QElapsedTimer clock;
        clock.start();
        const Outcome second = readParameter();
        QCOMPARE(second.status, StatusOutOfStep);
        QCOMPARE(second.text,
                 QStringLiteral("Обмен с АС сбился - АС не ответил на проверку линии."));
        QVERIFY2(second.ms >= 3 * 140, QByteArray::number(second.ms).constData());
        const Outcome third = readParameter();
        QCOMPARE(third.status, StatusOutOfStep);
        QVERIFY2(third.ms < 2 * 150 + 100, QByteArray::number(third.ms).constData());
        QVERIFY(sim->command(QStringLiteral("clear-faults")));
        QCOMPARE(readParameter().status, StatusOk);
    }

    void portHeldByAnotherProgram() {
        QSerialPort other(sim->portPath());
        QVERIFY(other.open(QIODevice::ReadWrite));
        QVERIFY(!ProbePort());
        QCOMPARE(readParameter().status, StatusNoAnswer);
        other.close();
        QVERIFY(ProbePort());
        QCOMPARE(readParameter().status, StatusOk);
        // After our exchange the port is free again for others.
        QSerialPort after(sim->portPath());
        QVERIFY(after.open(QIODevice::ReadWrite));
    }

    // Root gets past another program's exclusive flag; the program must not,
    // and must leave that flag as it found it.
    void portHeldExclusivelyByAnotherProcess() {
        OtherProcessHolding other(sim->portPath());
        QVERIFY(other.holds());
        QVERIFY(!ProbePort());
        QCOMPARE(LastPortOpenError(), QStringLiteral("Порт занят другой программой."));
        QCOMPARE(readParameter().status, StatusNoAnswer);
        QVERIFY(ExclusiveFlagSet(sim->portPath()));

        // Where the holder has left a lock file, the reason names it.
        const QString name = QFileInfo(sim->portPath())
                                 .canonicalFilePath()
                                 .mid(5)
                                 .replace(QLatin1Char('/'), QLatin1Char('_'));
        QFile lock(QStringLiteral("/run/lock/LCK..") + name);
        if (!lock.open(QIODevice::WriteOnly)) QSKIP("cannot write a lock file in /run/lock");
        lock.write(QByteArray::number(other.pid()).rightJustified(10, ' ') + '\n');
        lock.close();
        const bool refused = !ProbePort();
        const QString reason = LastPortOpenError();
        lock.remove();
        QVERIFY(refused);
        QCOMPARE(reason,
                 QStringLiteral("Порт занят другой программой (процесс %1).").arg(other.pid()));
    }

    // A command that cannot open the port keeps its status, and its text
    // says that the port did not open and why, unlike a silent device's.
    void portThatDoesNotExist() {
        CurrentPortSettings().PortName = QStringLiteral("/dev/zelvo-no-such-port");
        QVERIFY(!ProbePort());
        const QString reason = QStringLiteral("Порт /dev/zelvo-no-such-port в системе не найден.");
        QCOMPARE(LastPortOpenError(), reason);
        CurrentPortSettings().PortName = sim->portPath();
        QVERIFY2(ProbePort(), qPrintable(LastPortOpenError()));
        QCOMPARE(LastPortOpenError(), QString());
        CurrentPortSettings().PortName = QStringLiteral("/dev/zelvo-no-such-port");
        const Outcome outcome = readParameter();
        QCOMPARE(outcome.status, StatusNoAnswer);
        QCOMPARE(outcome.text, QStringLiteral("Не удалось открыть порт: ") + reason);
        QCOMPARE(LastPortOpenError(), reason);
        QVERIFY(outcome.ms < 300);
    }

    void fileThatIsNoSerialPort() {
        CurrentPortSettings().PortName = QStringLiteral("/dev/null");
        QVERIFY(!ProbePort());
        QCOMPARE(LastPortOpenError(),
                 QStringLiteral("/dev/null не является последовательным портом."));
    }

    // The device file belongs to a group the user is not in: the reason says
    // how to join it.
    void portWithoutPermission() {
        const QString path = sim->portPath();
        const QByteArray native = QFile::encodeName(path);
        FileModeRestorer restore(path);
        const QString denied = QStringLiteral("Нет прав на доступ к порту %1.").arg(path);
        if (::geteuid() != 0) {
            // Not root: the owner's own mode bits can shut it out.
            QCOMPARE(::chmod(native.constData(), 0), 0);
            QVERIFY(!ProbePort());
            QCOMPARE(LastPortOpenError(), denied);
            return;
        }
        const group* dialout = ::getgrnam("dialout");
        if (!dialout) QSKIP("this system has no dialout group to give the port to");
        QCOMPARE(::chown(native.constData(), 0, dialout->gr_gid), 0);
        QCOMPARE(::chmod(native.constData(), 0660), 0);
        const std::optional<QString> reason = OpenErrorAsNobody();
        if (!reason) QSKIP("cannot run a process as nobody here");
        QCOMPARE(*reason, denied + QStringLiteral("\nЧтобы получить доступ, выполните sudo usermod "
                                                  "-aG dialout $USER и войдите в систему заново."));
    }
};

class PosixSerialLinkSuite : public SerialLinkSuite {
    Q_OBJECT
public:
    PosixSerialLinkSuite() : SerialLinkSuite(posix_) {}

private:
    PosixSerialLink posix_;
};

class QtSerialLinkSuite : public SerialLinkSuite {
    Q_OBJECT
public:
    QtSerialLinkSuite() : SerialLinkSuite(qt_) {}

private:
    QtSerialLink qt_;
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    PosixSerialLinkSuite posix;
    QtSerialLinkSuite qt;
    int failed = QTest::qExec(&posix, argc, argv);
    failed += QTest::qExec(&qt, argc, argv);
    return failed;
}

#include "tst_serial.moc"
