// A port of other equipment is left as it was found: a terminal program's
// pseudo-terminal at 9600 bit/s, canonical, with echo and hang-up on close,
// keeps its settings and its unread input through a device search and a
// failed command, through both serial links.
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <QThread>
#include <QtTest>
#include <cstring>

#include "config/ParameterCatalogue.h"
#include "device/DeviceFinder.h"
#include "device/PortClaim.h"
#include "device/PortOpenError.h"
#include "device/Protocol.h"
#include "device/StateProbe.h"
#include "device/links/PosixSerialLink.h"
#include "device/links/QtSerialLink.h"

namespace {

bool SameTerminal(const termios& a, const termios& b) {
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
           a.c_lflag == b.c_lflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0 &&
           cfgetispeed(&a) == cfgetispeed(&b) && cfgetospeed(&a) == cfgetospeed(&b);
}

// Reads what is there now, waiting up to waitMs for the first bytes.
QByteArray ReadAvailable(int fd, int waitMs) {
    QByteArray bytes;
    pollfd in{fd, POLLIN, 0};
    if (::poll(&in, 1, waitMs) <= 0) return bytes;
    char buffer[256];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) bytes.append(buffer, int(n));
    return bytes;
}

// A pseudo-terminal that a terminal program holds open: its side of the line
// set up as such a program sets it, and the other end where the test types
// or reads what was sent.
class OtherProgramsPort {
public:
    OtherProgramsPort() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
        path_ = QString::fromLocal8Bit(::ptsname(master_));
        program_ = ::open(::ptsname(master_), O_RDWR | O_NOCTTY | O_NONBLOCK);
        termios line{};
        if (program_ < 0 || ::tcgetattr(program_, &line) != 0) return;
        line.c_iflag |= ICRNL | IXON;
        line.c_oflag |= OPOST | ONLCR;
        line.c_lflag |= ICANON | ECHO | ECHOE | ISIG | IEXTEN;
        line.c_cflag |= HUPCL;
        ::cfsetispeed(&line, B9600);
        ::cfsetospeed(&line, B9600);
        ready_ = ::tcsetattr(program_, TCSANOW, &line) == 0 && ::tcgetattr(program_, &found_) == 0;
    }
    ~OtherProgramsPort() {
        if (program_ >= 0) ::close(program_);
        if (master_ >= 0) ::close(master_);
    }

    bool ready() const { return ready_; }
    QString path() const { return path_; }

    // A line typed at the far end that the program has not read yet.
    bool typeLine(const QByteArray& line) {
        if (::write(master_, line.constData(), size_t(line.size())) != line.size()) return false;
        for (int i = 0; i < 100; ++i) {
            int waiting = 0;
            if (::ioctl(program_, FIONREAD, &waiting) == 0 && waiting > 0) {
                // The echo went back to the far end: it is not what the search sent.
                ReadAvailable(master_, 1000);
                QThread::msleep(20);
                ReadAvailable(master_, 0);
                return true;
            }
            QThread::msleep(10);
        }
        return false;
    }
    // What the program would read now.
    QByteArray unread() const { return ReadAvailable(program_, 0); }
    // What reached the far end of the line.
    QByteArray sent() const { return ReadAvailable(master_, 0); }
    bool settingsAsFound() const {
        termios now{};
        return ::tcgetattr(program_, &now) == 0 && SameTerminal(now, found_);
    }

private:
    int master_ = -1;
    int program_ = -1;
    QString path_;
    termios found_{};
    bool ready_ = false;
};

CommandStatus ReadDocumentName() {
    char data[26] = {};
    char errorText[ErrorTextSize] = {};
    uint8_t error = 0;
    return ParameterCommand(ModeRead, GroupDocumentName, 1, 1, data, error, errorText);
}

}  // namespace

class TestPortRestore : public QObject {
    Q_OBJECT

    PosixSerialLink posix;
    QtSerialLink qt;

    void useLink(const QString& which, const QString& path) {
        SetLinkOverride(which == QLatin1String("qt") ? static_cast<SerialLink*>(&qt) : &posix);
        PortSettings& s = CurrentPortSettings();
        s = PortSettings{};
        s.PortName = path;
        s.BaudRate = 2400;
        s.ByteTimeout = 50;
        s.TotalTimeout = 150;
    }

private slots:
    void cleanup() { SetLinkOverride(nullptr); }

    void searchLeavesUnreadInputAndSettings() {
        OtherProgramsPort port;
        QVERIFY(port.ready());
        QVERIFY(port.typeLine("status\n"));
        const DeviceSearchResult result = FindDevice({port.path()}, "0", 115200);
        QVERIFY(!result.found);
        QCOMPARE(result.probes, 0);
        QCOMPARE(result.skipped.size(), 1);
        QCOMPARE(result.skipped.at(0).reason, PortUnreadInputReason(port.path()));
        QVERIFY(DeviceSearchSummary(result, "0").contains(PortUnreadInputReason(port.path())));
        QVERIFY(port.settingsAsFound());
        QCOMPARE(port.sent(), QByteArray());
        QCOMPARE(port.unread(), QByteArray("status\n"));
    }

    // Without input waiting the port is asked at every speed, and still left
    // at its own speed and mode.
    void searchRestoresTheSettingsOfAPortItAsked() {
        OtherProgramsPort port;
        QVERIFY(port.ready());
        const DeviceSearchResult result = FindDevice({port.path()}, "0", 115200);
        QVERIFY(!result.found);
        QCOMPARE(result.probes, 7);
        QCOMPARE(result.askedPorts, QStringList{port.path()});
        QVERIFY(DeviceSearchSummary(result, "0")
                    .endsWith(QStringLiteral("\nОпрошены порты: %1.").arg(port.path())));
        QVERIFY(port.settingsAsFound());
        QCOMPARE(port.sent().size(), 7 * StateRequestLength);
    }

    void failedCommandLeavesThePortAsFound_data() {
        QTest::addColumn<QString>("link");
        QTest::addColumn<bool>("inputWaiting");
        for (const char* link : {"posix", "qt"}) {
            QTest::addRow("%s, input waiting", link) << QString::fromLatin1(link) << true;
            QTest::addRow("%s, silent", link) << QString::fromLatin1(link) << false;
        }
    }
    void failedCommandLeavesThePortAsFound() {
        QFETCH(QString, link);
        QFETCH(bool, inputWaiting);
        OtherProgramsPort port;
        QVERIFY(port.ready());
        if (inputWaiting) QVERIFY(port.typeLine("status\n"));
        useLink(link, port.path());
        ForgetLineStates();
        // The user chose this port: what waits there is dropped, and the line
        // is asked to come back in step (three markers, unanswered here)
        // before a request of its own goes out.
        QCOMPARE(ReadDocumentName(), inputWaiting ? StatusOutOfStep : StatusNoAnswer);
        QVERIFY(port.settingsAsFound());
        if (inputWaiting) {
            QCOMPARE(LastPortOpenError(), QString());
            QCOMPARE(port.sent(), StateRequest(0).repeated(MarkerAttempts));
            QCOMPARE(port.unread(), QByteArray());
        } else {
            QCOMPARE(LastPortOpenError(), QString());
            QCOMPARE(port.sent().size(), ParameterRequestLength);
        }
    }

    // On a port that has answered as the device, what waits can only be the
    // late answer of an earlier request: it is dropped, not read as the answer.
    void inputOnTheDevicesPortIsDropped_data() {
        QTest::addColumn<QString>("link");
        QTest::newRow("posix") << QStringLiteral("posix");
        QTest::newRow("qt") << QStringLiteral("qt");
    }
    void inputOnTheDevicesPortIsDropped() {
        QFETCH(QString, link);
        OtherProgramsPort port;
        QVERIFY(port.ready());
        MarkAnsweredAsDevice(port.path());
        QVERIFY(port.typeLine("late\n"));
        useLink(link, port.path());
        ForgetLineStates();
        // Dropped, not a wrong first byte; the markers go unanswered here.
        QCOMPARE(ReadDocumentName(), StatusOutOfStep);
        QCOMPARE(port.unread(), QByteArray());
        QVERIFY(port.settingsAsFound());
    }
};

QTEST_GUILESS_MAIN(TestPortRestore)
#include "tst_portrestore.moc"
