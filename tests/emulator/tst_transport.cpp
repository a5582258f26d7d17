// How the emulated device meets a line: the in-process link with its timing,
// and the framing of requests out of a byte stream.

#include <QElapsedTimer>
#include <QtTest>

#include "emulator/DeviceEmulator.h"
#include "emulator/EmulatorCommands.h"
#include "emulator/EmulatorLink.h"
#include "emulator/RequestFramer.h"
#include "emulator/Requests.h"

class TestTransport : public QObject {
    Q_OBJECT

private slots:
    void init() { device_.reset(); }

    void linkExchangesAtOnce();
    void linkRefusals();
    void pacedAnswerTakesTheLineTime();
    void timeoutsCutATimedAnswer_data();
    void timeoutsCutATimedAnswer();

    void framing_data();
    void framing();
    void stalledFrameIsAbandoned();

private:
    DeviceEmulator device_;
};

void TestTransport::linkExchangesAtOnce() {
    EmulatorLink link(device_);
    QVERIFY(link.open(QStringLiteral("emulated")));
    link.configure(115200);
    QCOMPARE(link.write(StateRequest()), 11);
    QElapsedTimer clock;
    clock.start();
    const QByteArray answer = link.read(31, 250, 2500);
    QVERIFY(clock.elapsed() < 50);
    QCOMPARE(answer.size(), 31);
    QCOMPARE(answer.left(4), Bytes({0x18, 0x55, 31, 0}));
    // A shorter read takes the head of the answer; the rest stays on the line
    // until the next request withdraws it.
    QCOMPARE(link.write(StateRequest()), 11);
    QCOMPARE(link.read(4, 250, 2500), answer.left(4));
    QCOMPARE(link.read(31, 250, 2500), answer.mid(4));
    QCOMPARE(link.write(StateRequest()), 11);
    QCOMPARE(link.read(4, 250, 2500), answer.left(4));
    QCOMPARE(link.write(StateRequest()), 11);
    QCOMPARE(link.read(31, 250, 2500), answer);
    link.close();
    QVERIFY(!link.isOpen());
    QCOMPARE(link.write(StateRequest()), -1);
    QCOMPARE(device_.log().size(), 4);
}

void TestTransport::linkRefusals() {
    EmulatorLink link(device_);
    link.setOpenFails(true);
    QVERIFY(!link.open(QStringLiteral("busy")));
    link.setOpenFails(false);

    // A device at another line speed hears noise and stays silent, at once.
    link.setDeviceSpeed(9600);
    QVERIFY(link.open(QStringLiteral("emulated")));
    link.configure(115200);
    link.write(StateRequest());
    QElapsedTimer clock;
    clock.start();
    QVERIFY(link.read(31, 250, 2500).isEmpty());
    QVERIFY(clock.elapsed() < 50);
    link.configure(9600);
    link.write(StateRequest());
    QCOMPARE(link.read(31, 250, 2500).size(), 31);
    QCOMPARE(link.openCount(), 1);
}

void TestTransport::pacedAnswerTakesTheLineTime() {
    device_.setPace(9600);
    EmulatorLink link(device_);
    link.open(QStringLiteral("emulated"));
    QElapsedTimer clock;
    clock.start();
    link.write(StateRequest());
    QCOMPARE(link.read(31, 250, 2500).size(), 31);
    // 11 + 31 bytes of 10 bits at 9600 bit/s.
    QVERIFY2(clock.nsecsElapsed() >= 43'750'000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(clock.elapsed() < 500);
}

void TestTransport::timeoutsCutATimedAnswer_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("byteTimeout");
    QTest::addColumn<int>("totalTimeout");
    QTest::addColumn<int>("received");
    QTest::addColumn<int>("minimumMs");

    QTest::newRow("later than the total time-out") << "delay 300" << 250 << 120 << 0 << 120;
    QTest::newRow("late but in time") << "delay 60" << 250 << 1000 << 31 << 60;
    QTest::newRow("part, then the gap limit") << "truncate 20" << 80 << 2000 << 20 << 80;
    QTest::newRow("part, no gap limit") << "truncate 20" << 0 << 150 << 20 << 150;
}

void TestTransport::timeoutsCutATimedAnswer() {
    QFETCH(QString, fault);
    QFETCH(int, byteTimeout);
    QFETCH(int, totalTimeout);
    QFETCH(int, received);
    QFETCH(int, minimumMs);

    Fault parsed;
    QString error;
    QVERIFY(ParseFault(fault.split(QLatin1Char(' ')), parsed, error));
    device_.addFault(parsed);
    device_.setPace(115200);
    EmulatorLink link(device_);
    link.open(QStringLiteral("emulated"));
    QElapsedTimer clock;
    clock.start();
    link.write(StateRequest());
    QCOMPARE(link.read(31, byteTimeout, totalTimeout).size(), received);
    QVERIFY(clock.elapsed() >= minimumMs);
    QVERIFY(clock.elapsed() < minimumMs + 400);
}

void TestTransport::framing_data() {
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QList<QByteArray>>("frames");

    const QByteArray state = StateRequest();
    const QByteArray goods = GoodsRequest(1, 7);
    QTest::newRow("whole") << QList<QByteArray>{state} << QList<QByteArray>{state};
    QTest::newRow("halves") << QList<QByteArray>{goods.left(20), goods.mid(20)}
                            << QList<QByteArray>{goods};
    QList<QByteArray> bytes;
    for (char byte : goods) bytes.append(QByteArray(1, byte));
    QTest::newRow("byte by byte") << bytes << QList<QByteArray>{goods};
    QTest::newRow("noise before") << QList<QByteArray>{Bytes({0, 0x18, 0xFF}) + state}
                                  << QList<QByteArray>{state};
    QTest::newRow("two in one read")
        << QList<QByteArray>{state + goods + state.left(3)} << QList<QByteArray>{state, goods};
    // A length byte too small to be true still makes a frame, for the device to refuse.
    QTest::newRow("length byte 2") << QList<QByteArray>{Bytes({0x17, 2, 0, 0, 0, 0, 0x75, 2, 1})}
                                   << QList<QByteArray>{Bytes({0x17, 2, 0, 0, 0, 0, 0x75, 2})};
}

void TestTransport::framing() {
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(QList<QByteArray>, frames);

    RequestFramer framer;
    QList<QByteArray> out;
    for (const QByteArray& chunk : chunks)
        for (const RequestFramer::Frame& frame : framer.feed(chunk, 1000)) out.append(frame.bytes);
    QCOMPARE(out, frames);
}

void TestTransport::stalledFrameIsAbandoned() {
    const qint64 ms = 1'000'000;
    const QByteArray state = StateRequest();
    RequestFramer framer(300 * ms);
    QVERIFY(framer.feed(state.left(5), 10 * ms).isEmpty());
    QCOMPARE(framer.deadlineNs(), 310 * ms);
    QVERIFY(framer.expire(300 * ms).isEmpty());
    QVERIFY(framer.feed(state.mid(5, 2), 300 * ms).isEmpty());  // a byte restarts the gap
    QCOMPARE(framer.expire(601 * ms), state.left(7));
    QCOMPARE(framer.deadlineNs(), -1);

    // The stale head does not swallow the next request.
    QVERIFY(framer.feed(state.left(5), 1000 * ms).isEmpty());
    const auto frames = framer.feed(state, 1400 * ms);
    QCOMPARE(frames.size(), 1);
    QCOMPARE(frames.at(0).bytes, state);
    QCOMPARE(frames.at(0).firstByteNs, 1400 * ms);
}

QTEST_GUILESS_MAIN(TestTransport)
#include "tst_transport.moc"
