// zelvo-sim end to end: a real serial port on its pseudo-terminal, its options
// and its control channel.

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

#include "emulator/Requests.h"
#include "support/SimProcess.h"

namespace {

bool OpenPort(QSerialPort& port, const QString& path) {
    port.setPortName(path);
    if (!port.open(QIODevice::ReadWrite)) return false;
    port.setBaudRate(115200);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    return true;
}

// One exchange as the program makes it: open, write, read until `expected`
// bytes or `timeoutMs` of nothing more, close.
QByteArray Exchange(const QString& path, const QByteArray& request, int expected,
                    int timeoutMs = 2000, qint64* elapsedNs = nullptr) {
    QSerialPort port;
    if (!OpenPort(port, path)) return QByteArray("open failed");
    QElapsedTimer clock;
    clock.start();
    port.write(request);
    port.waitForBytesWritten(1000);
    QByteArray answer;
    const QDeadlineTimer deadline(timeoutMs);
    while (answer.size() < expected && !deadline.hasExpired()) {
        if (port.bytesAvailable() == 0 &&
            !port.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
            break;
        answer += port.read(expected - answer.size());
    }
    if (elapsedNs) *elapsedNs = clock.nsecsElapsed();
    port.close();
    return answer;
}

}  // namespace

class TestSim : public QObject {
    Q_OBJECT

private slots:
    void stateOverThePty();
    void controlChannelReconfigures();
    void logShowsTheFrames();
    void lateAnswerDiesWithTheExchange();
    void pacedAnswerTakesTheLineTime();
    void startOptionsAndLink();
    void exclusiveHolderOutlivesAnotherOpener();
};

void TestSim::stateOverThePty() {
    SimProcess sim;
    QVERIFY2(sim.isReady(), qPrintable(sim.errorString()));
    QSerialPort port;
    QVERIFY(OpenPort(port, sim.portPath()));
    port.write(Bytes({0x17, 0x02, 0x00, 0x00, 0x00, 0x00, 0x75, 0x0B, 0x19, 0xB2, 0x00}));
    QByteArray answer;
    QTRY_VERIFY_WITH_TIMEOUT((answer += port.readAll()).size() >= 31, 5000);
    QCOMPARE(answer.size(), 31);
    QCOMPARE(answer.left(4), Bytes({0x18, 0x55, 31, 0}));
    QCOMPARE(int(FrameByte(answer, 28)), int(END_MARK));
    QCOMPARE(FrameUnsigned(answer, 29, 2), uint64_t(AdditiveSum(answer, 29)));
}

void TestSim::controlChannelReconfigures() {
    SimProcess sim({QStringLiteral("--factory"), QStringLiteral("7")});
    QVERIFY2(sim.isReady(), qPrintable(sim.errorString()));
    const QString path = sim.portPath();

    QVERIFY(sim.command(QStringLiteral("fault silent cmd=0x75 count=1")));
    QVERIFY(Exchange(path, StateRequest(7), 31, 300).isEmpty());
    QCOMPARE(ErrorOf(Exchange(path, StateRequest(7), 31)), 0);

    QVERIFY(sim.command(QStringLiteral("factory 0")));
    QCOMPARE(ErrorOf(Exchange(path, StateRequest(7), 31)), 55);
    // A reset goes back to the state the options made, not to the bare device.
    QVERIFY(sim.command(QStringLiteral("reset")));
    QCOMPARE(ErrorOf(Exchange(path, StateRequest(7), 31)), 0);

    QVERIFY(!sim.command(QStringLiteral("fault sideways")));
    QVERIFY(sim.lastReply().startsWith(QLatin1String("ERR ")));
    QVERIFY(sim.command(QStringLiteral("ping")));
}

void TestSim::logShowsTheFrames() {
    SimProcess sim({QStringLiteral("--log")});
    QVERIFY2(sim.isReady(), qPrintable(sim.errorString()));
    const QByteArray write = ParameterRequest(0, 2, 1, 1, "0USLUGA");
    const QByteArray read = ParameterRequest(1, 2, 1, 1);
    const QByteArray written = Exchange(sim.portPath(), write, 36);
    const QByteArray answer = Exchange(sim.portPath(), read, 36);
    QCOMPARE(answer.mid(8, 7), QByteArray("0USLUGA"));

    QVERIFY(sim.waitForExchanges(2));
    QCOMPARE(sim.requests(), (QList<QByteArray>{write, read}));
    QCOMPARE(sim.responses(), (QList<QByteArray>{written, answer}));
}

// An answer still owed when the program gives up and closes the port is
// abandoned, so that a test which lets one exchange time out never finds that
// answer in a later one.
void TestSim::lateAnswerDiesWithTheExchange() {
    SimProcess sim;
    QVERIFY2(sim.isReady(), qPrintable(sim.errorString()));
    const QString path = sim.portPath();

    QVERIFY(sim.command(QStringLiteral("fault delay 200 count=1")));
    QVERIFY(Exchange(path, StateRequest(), 31, 50).isEmpty());
    // Listen past the moment it was due, without asking anything.
    QVERIFY(Exchange(path, QByteArray(), 31, 400).isEmpty());
    QCOMPARE(Exchange(path, StateRequest(), 31).left(4), Bytes({0x18, 0x55, 31, 0}));
}

void TestSim::pacedAnswerTakesTheLineTime() {
    SimProcess sim({QStringLiteral("--pace"), QStringLiteral("9600")});
    QVERIFY2(sim.isReady(), qPrintable(sim.errorString()));
    qint64 elapsed = 0;
    QCOMPARE(Exchange(sim.portPath(), StateRequest(), 31, 2000, &elapsed).size(), 31);
    // 11 + 31 bytes of 10 bits at 9600 bit/s: 43.75 ms.
    QVERIFY2(elapsed >= 43'000'000 && elapsed < 200'000'000,
             qPrintable(QString::number(elapsed / 1000)));
}

void TestSim::startOptionsAndLink() {
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("device"));
    {
        SimProcess sim({QStringLiteral("--link"), link, QStringLiteral("--one-cliche"),
                        QStringLiteral("--working-mode"), QStringLiteral("--group"),
                        QStringLiteral("3"), QStringLiteral("--no-access"), QStringLiteral("2:3"),
                        QStringLiteral("--fault"), QStringLiteral("error 35 cmd=0x74")});
        QVERIFY2(sim.isReady(), qPrintable(sim.errorString()));
        QCOMPARE(QFileInfo(link).symLinkTarget(), sim.portPath());

        const QByteArray state = Exchange(link, StateRequest(), 31);
        QCOMPARE(int(FrameByte(state, 4)), 0x01);
        QCOMPARE(int(FrameByte(state, 6)), 3);
        QCOMPARE(ErrorOf(Exchange(link, ParameterRequest(1, 4, 2, 1), 36)), 51);
        QCOMPARE(int(FrameByte(Exchange(link, ParameterRequest(1, 2, 3, 1), 36), 6)), 0);
        QCOMPARE(ErrorOf(Exchange(link, GoodsRequest(1, 0), 46)), 35);
    }
    QVERIFY(!QFileInfo::exists(link) && !QFileInfo(link).isSymLink());

    SimProcess broken({QStringLiteral("--fault"), QStringLiteral("error")}, 2000);
    QVERIFY(!broken.isReady());
    QVERIFY2(broken.errorString().contains(QLatin1String("needs a value")),
             qPrintable(broken.errorString()));
}

// The simulator lets go of an exclusive flag that no program holds any more;
// while one still does, another opener coming and going changes nothing, even
// when the simulator sees both opens at once.
void TestSim::exclusiveHolderOutlivesAnotherOpener() {
    if (::geteuid() != 0) QSKIP("only root opens a terminal that another program holds");
    SimProcess sim;
    QVERIFY2(sim.isReady(), qPrintable(sim.errorString()));
    const pid_t simulator = pid_t(sim.processId());
    QVERIFY(simulator > 0);
    const QByteArray path = QFile::encodeName(sim.portPath());

    QCOMPARE(::kill(simulator, SIGSTOP), 0);
    const int holder = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    const bool held = holder >= 0 && ::ioctl(holder, TIOCEXCL) == 0;
    const int other = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (other >= 0) ::close(other);
    ::kill(simulator, SIGCONT);
    QVERIFY(held && other >= 0);
    QVERIFY(sim.command(QStringLiteral("ping")));  // it has taken the opens and the close
    int exclusive = 0;
    QCOMPARE(::ioctl(holder, TIOCGEXCL, &exclusive), 0);
    ::close(holder);  // as a program that ends without clearing its flag
    QVERIFY(exclusive);

    QVERIFY(sim.command(QStringLiteral("ping")));
    QCOMPARE(Exchange(sim.portPath(), StateRequest(), 31).left(4), Bytes({0x18, 0x55, 31, 0}));
}

QTEST_GUILESS_MAIN(TestSim)
#include "tst_sim.moc"
