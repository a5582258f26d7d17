// The line kept in step through the in-process emulated device: answers that
// arrive after their time-out (on the line across requests and closes) are
// never taken for a later request's, in single commands, in a goods read and
// in a configuration read; what the exchange log shows of it; and what a
// command says when its port does not open.
#include <QtTest>
#include <climits>

#include "config/ConfigurationTransfer.h"
#include "config/DeviceConfiguration.h"
#include "config/ParameterCatalogue.h"
#include "device/ConnectionSettings.h"
#include "device/ExchangeLog.h"
#include "device/ExchangeLogText.h"
#include "device/Protocol.h"
#include "device/StateProbe.h"
#include "goods/GoodsTable.h"
#include "goods/GoodsTransfer.h"
#include "support/GoodsRows.h"
#include "support/RecordingProgress.h"
#include "support/ScriptedDialogs.h"
#include "support/SerialCalls.h"
#include "support/TestDevice.h"

namespace {

constexpr int Total = 100;

DeviceEmulator& Device() {
    return InProcessEmulator();
}

Fault LateOn(int command, int index, int ms, int group = -1) {
    Fault fault;
    fault.kind = FaultKind::Late;
    fault.value = ms;
    fault.command = command;
    fault.group = group;
    fault.index = index;
    fault.count = 1;
    return fault;
}

QByteArray GoodsName(int record) {
    return "ITEM" + QByteArray::number(record);
}

// The name as a single command gives it: the width flag first.
QByteArray RawName(int record) {
    return '0' + GoodsName(record);
}

void PutGoods(int record) {
    DeviceEmulator::GoodsRecord goods;
    const QByteArray text = '0' + GoodsName(record);
    goods.name = text + QByteArray(25 - text.size(), '\0');
    goods.barcode = 1000 + uint64_t(record);
    goods.price = 100;
    goods.section = 1;
    QVERIFY(Device().setGoods(record, goods));
}

QString ServiceLine(int service, int line) {
    return QStringLiteral("0У%1 С%2").arg(service).arg(line);
}

int Requests(uint8_t command) {
    int count = 0;
    for (const auto& exchange : Device().log())
        if (exchange.request.size() > 6 && uint8_t(exchange.request.at(6)) == command) ++count;
    return count;
}

void WaitPast(const QElapsedTimer& clock, int ms) {
    QTest::qWait(int(std::max<qint64>(0, ms - clock.elapsed())));
}

}  // namespace

class TestLineStep : public QObject {
    Q_OBJECT

    void useShortTimeouts() {
        UseEmulator();
        CurrentPortSettings().TotalTimeout = Total;
        CurrentPortSettings().ByteTimeout = 20;
        ProgramExchangeLog().clear();
    }

private slots:
    void init() { useShortTimeouts(); }
    void cleanup() { UseEmulator(); }

    void lateAnswerInSingleCommands_data() {
        QTest::addColumn<int>("times");
        QTest::newRow("1 total time-out") << 1;
        QTest::newRow("2 total time-outs") << 2;
        QTest::newRow("10 total time-outs") << 10;
    }
    void lateAnswerInSingleCommands() {
        QFETCH(int, times);
        for (int record = 0; record < 10; ++record) PutGoods(record);
        QVERIFY(Device().addFault(LateOn(CmdGoods, 5, times * Total + 20)));
        QElapsedTimer clock;
        clock.start();
        int outOfStep = 0;
        for (int record = 4; record < 10; ++record) {
            QByteArray name;
            const CommandStatus status = ExchangeGoodsRecord(ModeRead, uint16_t(record), name);
            if (record == 5) {
                QCOMPARE(status, StatusNoAnswer);
            } else if (status == StatusOutOfStep) {
                ++outOfStep;
            } else {
                QCOMPARE(status, StatusOk);
                QCOMPARE(name, RawName(record));
            }
        }
        QCOMPARE(outOfStep > 0, times == 10);
        // Once the late answer is due, the line comes back in step at the
        // next marker; the markers' own answers still queued cost at most one
        // more failure, never a wrong record.
        WaitPast(clock, times * Total + 50);
        int failures = 0;
        for (int record = 0; record < 10; ++record) {
            QByteArray name;
            CommandStatus status = ExchangeGoodsRecord(ModeRead, uint16_t(record), name);
            if (status != StatusOk) {
                ++failures;
                status = ExchangeGoodsRecord(ModeRead, uint16_t(record), name);
            }
            QCOMPARE(status, StatusOk);
            QCOMPARE(name, RawName(record));
        }
        QVERIFY(failures <= 1);
    }

    // A good exchange costs nothing; one failure costs one marker.
    void markerOnlyAfterAFailure() {
        PutGoods(3);
        QByteArray name;
        for (int i = 0; i < 3; ++i) QCOMPARE(ExchangeGoodsRecord(ModeRead, 3, name), StatusOk);
        QCOMPARE(Requests(CmdState), 0);
        Fault cut;
        cut.kind = FaultKind::Truncate;
        cut.value = 10;
        cut.count = 1;
        QVERIFY(Device().addFault(cut));
        QCOMPARE(ExchangeGoodsRecord(ModeRead, 3, name), StatusBadHeader);
        QCOMPARE(ExchangeGoodsRecord(ModeRead, 3, name), StatusOk);
        QCOMPARE(ExchangeGoodsRecord(ModeRead, 3, name), StatusOk);
        QCOMPARE(Requests(CmdState), 1);
        // A refusal is a whole answer: the line is in step.
        QVERIFY(Device().addFault([] {
            Fault refusal;
            refusal.kind = FaultKind::DeviceError;
            refusal.value = 51;
            refusal.count = 1;
            return refusal;
        }()));
        QCOMPARE(ExchangeGoodsRecord(ModeRead, 3, name), StatusDeviceError);
        QCOMPARE(ExchangeGoodsRecord(ModeRead, 3, name), StatusOk);
        QCOMPARE(Requests(CmdState), 1);
    }

    // A goods read past a late answer with "Да" to each question: every row
    // holds its own record or none, never another's.
    void goodsReadKeepsEveryRowInPlace_data() { lateAnswerInSingleCommands_data(); }
    void goodsReadKeepsEveryRowInPlace() {
        QFETCH(int, times);
        for (int record = 0; record < 10; ++record) PutGoods(record);
        QVERIFY(Device().addFault(LateOn(CmdGoods, 5, times * Total + 20)));
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        dialogs.answerYes(40);
        GoodsTable table;
        FillMarked(table);
        QVERIFY(ReadAllGoods(table, progress, dialogs));
        int inPlace = 0;
        for (int record = 0; record < GoodsRecordCount; ++record) {
            const GoodsRecord& row = table.record(record + 1);
            if (record < 10 && row.name == GoodsName(record)) {
                QCOMPARE(row.barcode, QByteArray::number(1000 + record));
                ++inPlace;
                continue;
            }
            QVERIFY2(
                !row.name.startsWith("ITEM"),
                qPrintable(QStringLiteral("row %1: %2").arg(record + 1).arg(FromCp1251(row.name))));
        }
        if (times < 10) QCOMPARE(inPlace, 9);
        QVERIFY(inPlace >= 5);
    }

    // The same for a configuration read: every service line holds its own
    // line of the device, or the read of it failed.
    void configurationReadKeepsEveryLineInPlace_data() { lateAnswerInSingleCommands_data(); }
    void configurationReadKeepsEveryLineInPlace() {
        QFETCH(int, times);
        for (int service = 1; service <= 8; ++service)
            for (int line = 1; line <= 3; ++line)
                QVERIFY(Device().setParameter(
                    GroupService, service, line,
                    DeviceLine(ServiceLine(service, line).toUtf8().constData())));
        QVERIFY(Device().addFault(LateOn(CmdParameter, 3, times * Total + 20, GroupService)));
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        dialogs.answerYes(60);
        DeviceConfiguration config{};
        ResetConfiguration(config);
        DownloadConfiguration(config);
        int inPlace = 0;
        for (int service = 1; service <= 8; ++service) {
            for (int line = 1; line <= 3; ++line) {
                const QString held = Stored(config.services[service - 1].lines[line - 1]);
                if (held == ServiceLine(service, line)) {
                    ++inPlace;
                    continue;
                }
                QVERIFY2(
                    !held.startsWith(QStringLiteral("0У")),
                    qPrintable(
                        QStringLiteral("service %1 line %2: %3").arg(service).arg(line).arg(held)));
            }
        }
        if (times < 10) QCOMPARE(inPlace, 23);
        QVERIFY(inPlace >= 12);
    }

    // The marker is in the exchange log with what it dropped; an operator's
    // password that arrives late is dropped with the rest, never shown.
    void markerIsLoggedWithoutTheLatePassword() {
        QVERIFY(Device().setParameter(GroupOperator, 1, OperatorPasswordLine, "9876"));
        QVERIFY(Device().addFault(LateOn(CmdParameter, 1, Total + 20, GroupOperator)));
        char data[26] = {};
        char errorText[ErrorTextSize] = {};
        uint8_t error = 0;
        QCOMPARE(ParameterCommand(ModeRead, GroupOperator, 1, OperatorPasswordLine, data, error,
                                  errorText),
                 StatusNoAnswer);
        QCOMPARE(ReadDocumentNameTimed().status, StatusOk);

        const ExchangeLog& log = ProgramExchangeLog();
        QCOMPARE(log.size(), 3);
        const ExchangeRecord& marker = log.at(1);
        QVERIFY(marker.lineCheck);
        QCOMPARE(marker.status, StatusOk);
        QCOMPARE(marker.discarded, uint32_t(ParameterResponseLength));
        QCOMPARE(marker.answerLength, uint8_t(StateResponseLength));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(marker.request), marker.requestLength),
                 StateRequest(0));
        const QString block = ExchangeBlock(marker);
        QVERIFY2(block.contains(QStringLiteral("Состояние  проверка линии  отброшено 36 байт")),
                 qPrintable(block));
        QVERIFY(!ExchangeLogFileText(log).contains("39 38 37 36"));
        QCOMPARE(log.at(2).status, StatusOk);
    }

    // Input waiting in the user's port when it opens is dropped and the line
    // put in step, not a reason to refuse the port.
    void inputWaitingAtOpenIsDropped() {
        PutGoods(2);
        QVERIFY(Device().addFault(LateOn(CmdGoods, 1, 30)));
        QByteArray name;
        CurrentPortSettings().TotalTimeout = 10;
        QCOMPARE(ExchangeGoodsRecord(ModeRead, 1, name), StatusNoAnswer);
        ForgetLineStates();  // as a new run of the program would
        QTest::qWait(50);
        CurrentPortSettings().TotalTimeout = Total;
        QCOMPARE(ExchangeGoodsRecord(ModeRead, 2, name), StatusOk);
        QCOMPARE(name, RawName(2));
        QCOMPARE(LastPortOpenError(), QString());
        const ExchangeRecord& marker = ProgramExchangeLog().at(1);
        QVERIFY(marker.lineCheck);
        QCOMPARE(marker.discarded, uint32_t(GoodsResponseLength));
    }

    // A port that does not open says so, in the command's text and in the
    // log alike, not as a silent device.
    void portThatDoesNotOpenIsNotASilentDevice() {
        InProcessEmulatorLink().setOpenFails(true);
        const SerialOutcome outcome = ReadDocumentNameTimed();
        InProcessEmulatorLink().setOpenFails(false);
        QCOMPARE(outcome.status, StatusNoAnswer);
        QCOMPARE(outcome.text, QStringLiteral("Не удалось открыть порт."));
        QCOMPARE(ExchangeStatusText(ProgramExchangeLog().at(0)),
                 QStringLiteral("1 Не удалось открыть порт."));

        Fault silent;
        silent.kind = FaultKind::Silent;
        silent.count = 1;
        QVERIFY(Device().addFault(silent));
        QCOMPARE(ReadDocumentNameTimed().text,
                 QStringLiteral("Нет ответа или не удалось открыть порт."));
    }

    // Time-outs are bounded where they are entered and where they are used:
    // the largest int no longer wraps the deadline round into "no answer".
    void timeoutsAreBounded() {
        ConnectionFields fields;
        fields.port = EmulatorPortName();
        PortSettings settings;
        for (const char* wrong : {"2147483647", "60001", "-1"}) {
            fields.totalTimeout = QString::fromLatin1(wrong);
            try {
                ApplyConnectionFields(fields, settings);
                QFAIL(wrong);
            } catch (const ConversionError& error) {
                QCOMPARE(error.message(), TimeoutRangeText(fields.totalTimeout));
            }
        }
        fields.totalTimeout = QStringLiteral("60000");
        fields.byteTimeout = QStringLiteral("2147483647");
        bool refused = false;
        try {
            ApplyConnectionFields(fields, settings);
        } catch (const ConversionError&) {
            refused = true;
        }
        QVERIFY(refused);
        fields.byteTimeout = QStringLiteral("0");
        ApplyConnectionFields(fields, settings);
        QCOMPARE(settings.TotalTimeout, 60000);

        CurrentPortSettings().TotalTimeout = INT_MAX;
        CurrentPortSettings().ByteTimeout = INT_MAX;
        Device().setDelay(30);
        QCOMPARE(ReadDocumentNameTimed().status, StatusOk);
        Device().setDelay(0);
    }
};

QTEST_GUILESS_MAIN(TestLineStep)
#include "tst_linestep.moc"
