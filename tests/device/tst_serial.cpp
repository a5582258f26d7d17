// Every command status end to end: the real serial port code against zelvo-sim
// on a pseudo-terminal, with the simulator's faults.
#include <QElapsedTimer>
#include <QSerialPort>
#include <QtTest>

#include "config/DeviceCharset.h"
#include "config/ParameterCatalogue.h"
#include "device/Protocol.h"
#include "support/SimProcess.h"

class TestSerial : public QObject {
    Q_OBJECT

    std::unique_ptr<SimProcess> sim;

    struct Outcome {
        CommandStatus status;
        QString text;
        qint64 ms;
    };

    Outcome readParameter() {
        char data[26] = {};
        char errorText[ErrorTextSize] = {};
        uint8_t error = 0;
        QElapsedTimer clock;
        clock.start();
        const CommandStatus status =
            ParameterCommand(ModeRead, GroupDocumentName, 1, 1, data, error, errorText);
        return {status, FromCp1251(errorText), clock.elapsed()};
    }

private slots:
    void initTestCase() {
        sim = std::make_unique<SimProcess>();
        QVERIFY2(sim->isReady(), qPrintable(sim->errorString()));
    }
    void init() {
        QVERIFY(sim->command(QStringLiteral("clear-faults")));
        PortSettings& s = CurrentPortSettings();
        s = PortSettings{};
        s.PortName = sim->portPath();
        s.BaudRate = 115200;
        s.ByteTimeout = 100;
        s.TotalTimeout = 600;
    }

    void statuses_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("byteTimeout");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("minMs");
        QTest::addColumn<int>("maxMs");
        const QString header = QStringLiteral("Неккоректный ответ - первый байт не STX_SLAVE.");
        QTest::newRow("answer") << QString() << 100 << 0 << QString() << 0 << 400;
        QTest::newRow("silence: after the total time-out")
            << QStringLiteral("silent") << 100 << 1
            << QStringLiteral("Нет ответа или не удалось открыть порт.") << 550 << 1500;
        QTest::newRow("part of the answer: at the first gap")
            << QStringLiteral("truncate 20") << 100 << 2 << header << 80 << 500;
        QTest::newRow("part of the answer, no gap limit: at the total time-out")
            << QStringLiteral("truncate 20") << 0 << 2 << header << 550 << 1500;
        QTest::newRow("wrong first byte")
            << QStringLiteral("first-byte") << 100 << 2 << header << 0 << 400;
        QTest::newRow("wrong length byte")
            << QStringLiteral("length") << 100 << 2 << header << 0 << 400;
        QTest::newRow("wrong response code")
            << QStringLiteral("code") << 100 << 3
            << QStringLiteral("Неккоректный ответ - код ответа не соответствует коду команды.") << 0
            << 400;
        QTest::newRow("device error") << QStringLiteral("error 33") << 100 << 5
                                      << QStringLiteral(" Авария батареи.") << 0 << 400;
        QTest::newRow("slow start is not a gap")
            << QStringLiteral("delay 300") << 100 << 0 << QString() << 280 << 580;
    }
    void statuses() {
        QFETCH(QString, fault);
        QFETCH(int, byteTimeout);
        QFETCH(int, status);
        QFETCH(QString, text);
        QFETCH(int, minMs);
        QFETCH(int, maxMs);
        if (!fault.isEmpty()) QVERIFY(sim->command(QStringLiteral("fault ") + fault));
        CurrentPortSettings().ByteTimeout = byteTimeout;
        const Outcome outcome = readParameter();
        QCOMPARE(int(outcome.status), status);
        QCOMPARE(outcome.text, text);
        QVERIFY2(outcome.ms >= minMs && outcome.ms <= maxMs,
                 QByteArray::number(outcome.ms).constData());
    }

    void lateAnswerDoesNotSpoilTheNextExchange() {
        QVERIFY(sim->command(QStringLiteral("fault delay 800 count=1")));
        QCOMPARE(readParameter().status, StatusNoAnswer);
        QTest::qWait(400);  // the late answer would arrive now, with the port closed
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

    void portThatDoesNotExist() {
        CurrentPortSettings().PortName = QStringLiteral("/dev/zelvo-no-such-port");
        QVERIFY(!ProbePort());
        const Outcome outcome = readParameter();
        QCOMPARE(outcome.status, StatusNoAnswer);
        QVERIFY(outcome.ms < 300);
    }
};

QTEST_GUILESS_MAIN(TestSerial)
#include "tst_serial.moc"
