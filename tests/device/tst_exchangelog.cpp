// The exchange log: what each exchange leaves in it, through a scripted link and
// through the real serial code against zelvo-sim; secrets; the ring; the file.
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "config/ParameterCatalogue.h"
#include "device/ExchangeLog.h"
#include "device/ExchangeLogText.h"
#include "device/Protocol.h"
#include "support/FakeLink.h"
#include "support/SimProcess.h"

namespace {

const QString KnownRequest = QStringLiteral(
    "17 02 78 56 34 12 74 33 01 11 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 19 FF 01");
const QString KnownAnswer = QStringLiteral(
    "18 54 2E 00 11 00 54 4F 56 41 52 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");

CommandStatus ReadGoods(uint16_t record) {
    char name[26] = {};
    char barcode[BarcodeTextSize] = {};
    uint8_t section = 0, error = 0;
    int64_t price = 0;
    char errorText[ErrorTextSize] = {};
    return GoodsCommand(ModeRead, record, name, barcode, section, price, error, errorText);
}

CommandStatus Parameter(uint8_t mode, uint8_t group, uint8_t index, uint8_t line,
                        const char* text = "") {
    char data[80] = {};
    qstrncpy(data, text, sizeof data);
    char errorText[ErrorTextSize] = {};
    uint8_t error = 0;
    return ParameterCommand(mode, group, index, line, data, error, errorText);
}

CommandStatus ReadState() {
    uint8_t error = 0, mode = 0, flash = 0, battery = 0, documentState = 0, day = 0, month = 0,
            year = 0, hour = 0, minute = 0, group = 0;
    uint16_t document = 0;
    uint32_t factory = 0;
    uint64_t taxpayer = 0;
    char errorText[ErrorTextSize] = {};
    return StateCommand(error, mode, flash, battery, document, documentState, day, month, year,
                        hour, minute, factory, taxpayer, group, errorText);
}

const ExchangeRecord& Last() {
    const ExchangeLog& log = ProgramExchangeLog();
    return log.at(log.size() - 1);
}

// True when `secret` appears anywhere in the record's bytes.
bool Holds(const ExchangeRecord& r, const QByteArray& secret) {
    const QByteArray all = QByteArray(reinterpret_cast<const char*>(r.request), r.requestLength) +
                           QByteArray(reinterpret_cast<const char*>(r.answer), r.answerLength);
    return all.contains(secret);
}

}  // namespace

class TestExchangeLog : public QObject {
    Q_OBJECT

    std::unique_ptr<SimProcess> sim;

    void useSim() {
        PortSettings& s = CurrentPortSettings();
        s = PortSettings{};
        s.PortName = sim->portPath();
        s.BaudRate = 115200;
        s.ByteTimeout = 100;
        s.TotalTimeout = 400;
    }

private slots:
    void initTestCase() {
        sim = std::make_unique<SimProcess>(QStringList{QStringLiteral("--log")});
        QVERIFY2(sim->isReady(), qPrintable(sim->errorString()));
    }
    void init() {
        ProgramExchangeLog().clear();
        ProgramExchangeLog().setRecording(true);
        PortSettings& s = CurrentPortSettings();
        s = PortSettings{};
        s.PortName = QStringLiteral("COM7");
        s.BaudRate = 9600;
        s.MachineNumber = "305419896";
    }

    void knownExchangeIsLoggedByteForByte() {
        FakeLink link;
        link.answers << Answer(CmdGoods, GoodsResponseLength, 0, QByteArray("\x11\x00TOVAR", 7));
        QCOMPARE(ReadGoods(17), StatusOk);

        QCOMPARE(ProgramExchangeLog().size(), 1);
        const ExchangeRecord& r = Last();
        QCOMPARE(RequestHex(r), KnownRequest);
        QCOMPARE(AnswerHex(r), KnownAnswer);
        QCOMPARE(r.number, uint64_t(1));
        QCOMPARE(r.port, QStringLiteral("COM7"));
        QCOMPARE(r.baudRate, 9600);
        QCOMPARE(ExchangeCommandName(r.command()), QStringLiteral("Товар"));
        QCOMPARE(ExchangeModeText(r), QStringLiteral("чтение"));
        QCOMPARE(ExchangeAddressText(r), QStringLiteral("запись 17"));
        QCOMPARE(ExchangeStatusText(r), QStringLiteral("0 Успешно"));
        QCOMPARE(ExchangeDeviceErrorText(r), QString());
        QVERIFY(r.durationNs > 0);
        QVERIFY(qAbs(r.startedMs - QDateTime::currentMSecsSinceEpoch()) < 5000);
    }

    void everyCommandHasItsNameModeAndOutcome() {
        FakeLink link;
        link.answers << Answer(CmdParameter, ParameterResponseLength, 33)
                     << Answer(CmdForm, FormResponseLength, 0, QByteArray(1, '\x07'))
                     << Answer(CmdState + 1, StateResponseLength);
        QCOMPARE(Parameter(ModeWrite, GroupService, 2, 4, "0ТЕКСТ"), StatusDeviceError);
        uint8_t form = 3, variant = 0, requisite = 0, kind = 0, error = 0;
        char errorText[ErrorTextSize] = {};
        QCOMPARE(FormCommand(ModeRead, form, variant, requisite, kind, error, errorText), StatusOk);
        QCOMPARE(ReadState(), StatusCodeMismatch);

        const ExchangeLog& log = ProgramExchangeLog();
        QCOMPARE(log.size(), 3);
        QCOMPARE(ExchangeCommandName(log.at(0).command()), QStringLiteral("Параметр"));
        QCOMPARE(ExchangeModeText(log.at(0)), QStringLiteral("запись"));
        QCOMPARE(ExchangeAddressText(log.at(0)), QStringLiteral("группа 2, № 2, строка 4"));
        QCOMPARE(ExchangeStatusText(log.at(0)), QStringLiteral("5 Ошибка АС"));
        QCOMPARE(ExchangeDeviceErrorText(log.at(0)), QStringLiteral("33 Авария батареи."));
        QVERIFY(log.at(0).failed());

        QCOMPARE(ExchangeCommandName(log.at(1).command()), QStringLiteral("Форма"));
        QCOMPARE(ExchangeAddressText(log.at(1)), QStringLiteral("форма 3"));
        QVERIFY(!log.at(1).failed());

        QCOMPARE(ExchangeCommandName(log.at(2).command()), QStringLiteral("Состояние"));
        QCOMPARE(ExchangeModeText(log.at(2)), QString());
        QCOMPARE(
            ExchangeStatusText(log.at(2)),
            QStringLiteral("3 Неккоректный ответ - код ответа не соответствует коду команды."));
        // A header that is wrong says nothing about the device's error byte.
        QCOMPARE(log.at(2).deviceError, uint8_t(0));
    }

    // Through the real serial code: the log holds exactly what the simulator
    // received and what it sent, however little of it that was.
    void simulatorExchangesAreLoggedAsTheyWent_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("answerBytes");
        QTest::addColumn<QString>("status");
        QTest::newRow("whole answer")
            << QString() << ParameterResponseLength << QStringLiteral("0 Успешно");
        QTest::newRow("partial answer")
            << QStringLiteral("truncate 20") << 20
            << QStringLiteral("2 Неккоректный ответ - первый байт не STX_SLAVE.");
        QTest::newRow("garbled answer")
            << QStringLiteral("first-byte 85") << ParameterResponseLength
            << QStringLiteral("2 Неккоректный ответ - первый байт не STX_SLAVE.");
        QTest::newRow("silent device")
            << QStringLiteral("silent") << 0
            << QStringLiteral("1 Нет ответа или не удалось открыть порт.");
    }
    void simulatorExchangesAreLoggedAsTheyWent() {
        QFETCH(QString, fault);
        QFETCH(int, answerBytes);
        QFETCH(QString, status);
        useSim();
        QVERIFY(sim->command(QStringLiteral("clear-faults")));
        // The last row's failure leaves a marker to go first: out of the way.
        QCOMPARE(Parameter(ModeRead, GroupDocumentName, 1, 1), StatusOk);
        if (!fault.isEmpty()) QVERIFY(sim->command(QStringLiteral("fault ") + fault));
        sim->clearLog();
        Parameter(ModeRead, GroupDocumentName, 1, 1);
        QVERIFY(sim->waitForExchanges(1));

        const ExchangeRecord& r = Last();
        const QByteArray sent = sim->requests().constLast();
        const QByteArray answered = sim->responses().constLast();
        QCOMPARE(int(answered.size()), answerBytes);
        QCOMPARE(RequestHex(r), QString::fromLatin1(sent.toHex(' ').toUpper()));
        QCOMPARE(AnswerHex(r), QString::fromLatin1(answered.toHex(' ').toUpper()));
        QCOMPARE(int(r.answerLength), answerBytes);
        QCOMPARE(ExchangeStatusText(r), status);
        QCOMPARE(r.port, sim->portPath());
        if (answerBytes == 0) {
            QVERIFY(ExchangeBlock(r).contains(QStringLiteral("Ответ (0 из 36 байт): нет\n")));
            QVERIFY2(r.durationNs >= 350'000'000, "a silent device is logged with its wait");
        }
    }

    void portThatDoesNotOpenIsLoggedWithoutAnAnswer() {
        FakeLink link;
        link.refuseOpen = true;
        QCOMPARE(ReadState(), StatusNoAnswer);
        const ExchangeRecord& r = Last();
        QVERIFY(!r.portOpened);
        QCOMPARE(r.answerLength, uint8_t(0));
        QCOMPARE(r.requestLength, uint8_t(StateRequestLength));
        QCOMPARE(ExchangeStatusText(r), QStringLiteral("1 Не удалось открыть порт."));

        // A real port says why.
        CurrentPortSettings().PortName = QStringLiteral("/dev/zelvo-no-such-port");
        SetLinkOverride(nullptr);
        QCOMPARE(ReadState(), StatusNoAnswer);
        const ExchangeRecord& real = Last();
        QVERIFY(!real.portOpened);
        QVERIFY(!real.openError.isEmpty());
        QCOMPARE(ExchangeStatusText(real),
                 QStringLiteral("1 Не удалось открыть порт: ") + LastPortOpenError());
        QVERIFY(ExchangeBlock(real).contains(LastPortOpenError()));
        SetLinkOverride(&link);
    }

    void passwordsNeverReachTheLog() {
        FakeLink link;
        // ИНН with password 54321 = 0x0000D431.
        link.answers << Answer(CmdInn, InnResponseLength);
        uint8_t error = 0;
        char errorText[ErrorTextSize] = {};
        QCOMPARE(InnCommand(54321, 24, 5, 17, 2, "7701234567", error, errorText), StatusOk);
        const ExchangeRecord& inn = Last();
        QCOMPARE(RequestHex(inn).mid(8 * 3, 4 * 3 - 1), QStringLiteral("** ** ** **"));
        QVERIFY(RequestHex(inn).endsWith(QStringLiteral("19 ** **")));
        QVERIFY(!Holds(inn, QByteArray("\x31\xD4", 2)));
        // The rest of the frame stays readable: date and group follow the password.
        QCOMPARE(RequestHex(inn).mid(12 * 3, 11), QStringLiteral("11 05 18 02"));

        // An operator's password, written and read back.
        QByteArray readBack = QByteArray(4, '\0') + "8642";
        link.answers << Answer(CmdParameter, ParameterResponseLength)
                     << Answer(CmdParameter, ParameterResponseLength, 0, readBack);
        QCOMPARE(Parameter(ModeWrite, GroupOperator, 3, OperatorPasswordLine, "1357"), StatusOk);
        QCOMPARE(Parameter(ModeRead, GroupOperator, 3, OperatorPasswordLine), StatusOk);
        const ExchangeLog& log = ProgramExchangeLog();
        const ExchangeRecord& write = log.at(1);
        const ExchangeRecord& read = log.at(2);
        QVERIFY(!Holds(write, "1357"));
        QVERIFY(!Holds(read, "8642"));
        QVERIFY(RequestHex(write).contains(QStringLiteral("** ** ** **")));
        QVERIFY(!RequestHex(write).contains(QStringLiteral("31 33 35 37")));
        QVERIFY(AnswerHex(read).mid(8 * 3).startsWith(QStringLiteral("** ** ** **")));
        QVERIFY(AnswerHex(read).startsWith(QStringLiteral("18 50 24 00")));
        QVERIFY(AnswerHex(read).endsWith(QStringLiteral("** **")));

        // The operator's other lines are not secret.
        link.answers << Answer(CmdParameter, ParameterResponseLength, 0,
                               QByteArray(4, '\0') + "0KASSIR");
        QCOMPARE(Parameter(ModeRead, GroupOperator, 3, OperatorNameLine), StatusOk);
        QVERIFY(AnswerHex(Last()).contains(QStringLiteral("4B 41 53 53 49 52")));
        QVERIFY(!AnswerHex(Last()).contains(QLatin1Char('*')));

        // Nor does the saved file hold them.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("log.txt"));
        QVERIFY(SaveExchangeLog(log, path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray saved = file.readAll();
        QVERIFY(!saved.contains("31 33 35 37"));
        QVERIFY(!saved.contains("38 36 34 32"));
        QVERIFY(!saved.contains("31 D4"));
        QVERIFY(saved.contains("** ** ** **"));
    }

    // An operator's password read that went unanswered: its answer may come
    // late, in front of the next exchange's, and is masked there too, until
    // an exchange on that port succeeds.
    void latePasswordAnswerIsMasked() {
        FakeLink link;
        const QByteArray late =
            Answer(CmdParameter, ParameterResponseLength, 0, QByteArray(4, '\0') + "8642");
        link.answers << QByteArray() << QByteArray() << late << late;
        QCOMPARE(Parameter(ModeRead, GroupOperator, 3, OperatorPasswordLine), StatusNoAnswer);
        QCOMPARE(ReadGoods(1), StatusNoAnswer);  // still failing: the answer may yet come
        QCOMPARE(Parameter(ModeRead, GroupOperator, 3, OperatorNameLine), StatusOk);
        const ExchangeRecord& taken = Last();
        QVERIFY(!Holds(taken, "8642"));
        QVERIFY(AnswerHex(taken).startsWith(QStringLiteral("18 50 24 00")));
        QCOMPARE(AnswerHex(taken).mid(8 * 3, 11), QStringLiteral("** ** ** **"));
        QVERIFY(AnswerHex(taken).endsWith(QStringLiteral("** **")));
        // A good exchange ends it.
        QCOMPARE(Parameter(ModeRead, GroupOperator, 3, OperatorNameLine), StatusOk);
        QVERIFY(Holds(Last(), "8642"));

        // Another port's exchanges are not touched, nor does their success
        // end it on this port.
        link.answers << QByteArray() << late;
        QCOMPARE(Parameter(ModeRead, GroupOperator, 3, OperatorPasswordLine), StatusNoAnswer);
        CurrentPortSettings().PortName = QStringLiteral("COM4");
        QCOMPARE(Parameter(ModeRead, GroupOperator, 3, OperatorNameLine), StatusOk);
        QVERIFY(Holds(Last(), "8642"));
        CurrentPortSettings().PortName = QStringLiteral("COM7");
        link.answers << late;
        QCOMPARE(Parameter(ModeRead, GroupOperator, 3, OperatorNameLine), StatusOk);
        QVERIFY(!Holds(Last(), "8642"));
    }

    void ringKeepsTheLatestAndCountsTheDropped() {
        FakeLink link;  // silent: every exchange is logged without an answer
        const int extra = 7;
        for (int i = 0; i < ExchangeLog::Capacity + extra; ++i) ReadState();
        ExchangeLog& log = ProgramExchangeLog();
        QCOMPARE(log.size(), ExchangeLog::Capacity);
        QCOMPARE(log.dropped(), uint64_t(extra));
        QCOMPARE(log.at(0).number, uint64_t(extra + 1));
        QCOMPARE(Last().number, uint64_t(ExchangeLog::Capacity + extra));
        QCOMPARE(log.find(extra), nullptr);
        QCOMPARE(log.find(extra + 1), &log.at(0));
        QCOMPARE(log.find(log.nextNumber()), nullptr);

        const uint64_t generation = log.generation();
        log.clear();
        QCOMPARE(log.size(), 0);
        QCOMPARE(log.dropped(), uint64_t(0));
        QVERIFY(log.generation() != generation);
        ReadState();
        QCOMPARE(Last().number, uint64_t(1));
    }

    void nothingIsLoggedWhileRecordingIsOff() {
        FakeLink link;
        ProgramExchangeLog().setRecording(false);
        ReadState();
        ProgramExchangeLog().setRecording(true);
        QCOMPARE(ProgramExchangeLog().size(), 0);
    }

    void savedFileHasOneBlockPerExchange() {
        FakeLink link;
        link.answers << Answer(CmdGoods, GoodsResponseLength, 0, QByteArray("\x11\x00TOVAR", 7))
                     << Answer(CmdGoods, GoodsResponseLength, 52).left(10);
        ReadGoods(17);
        ReadGoods(18);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("журнал.txt"));
        QVERIFY(SaveExchangeLog(ProgramExchangeLog(), path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        // Lines as a text editor reads them: the file ends its lines as the
        // system does (CR LF on Windows).
        const QStringList lines =
            QString::fromUtf8(file.readAll()).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));

        const QString time = QStringLiteral(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3})");
        const QString ms = QStringLiteral(R"(\d+\.\d\d мс)");
        const QStringList expected{
            QStringLiteral(R"(Журнал обмена, сохранён \d{4}-\d\d-\d\d \d\d:\d\d:\d\d)"),
            QStringLiteral("Обменов: 2, отброшено более старых: 0"),
            QString(),
            QStringLiteral("№ 1  %1  COM7  9600 бит/с  Товар  чтение  запись 17  %2  0 Успешно")
                .arg(time, ms),
            QStringLiteral("    Запрос \\(51 байт\\): ") + KnownRequest,
            QStringLiteral("    Ответ \\(46 байт\\): ") + KnownAnswer,
            QString(),
            QStringLiteral("№ 2  %1  COM7  9600 бит/с  Товар  чтение  запись 18  %2  2 "
                           "Неккоректный ответ - первый байт не STX_SLAVE\\.")
                .arg(time, ms),
            QStringLiteral(
                "    Запрос \\(51 байт\\): 17 02 78 56 34 12 74 33 01 12 00 .* 19 00 02"),
            QStringLiteral("    Ответ \\(10 из 46 байт\\): 18 54 2E 34 00 00 00 00 00 00"),
            QString(),
        };
        QCOMPARE(lines.size(), expected.size());
        for (int i = 0; i < lines.size(); ++i) {
            const QRegularExpression re(QRegularExpression::anchoredPattern(expected[i]));
            QVERIFY2(re.match(lines[i]).hasMatch(), qPrintable(lines[i]));
        }
    }

    // A saved log can hold passwords: a new file is the owner's alone, an
    // existing one keeps its mode.
    void savedLogIsReadableByItsOwnerOnly() {
#ifndef Q_OS_UNIX
        QSKIP("file modes are Unix's; on Windows the user's own folders are private to the user");
#endif
        FakeLink link;
        ReadState();
        QTemporaryDir dir;
        const QString fresh = dir.filePath(QStringLiteral("new.log"));
        QVERIFY(SaveExchangeLog(ProgramExchangeLog(), fresh));
        const auto others = QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther |
                            QFile::WriteOther | QFile::ExeGroup | QFile::ExeOther;
        QCOMPARE(QFile::permissions(fresh) & others, QFileDevice::Permissions());
        QVERIFY(QFile::permissions(fresh) & QFile::ReadOwner);

        const QString shared = dir.filePath(QStringLiteral("shared.log"));
        QVERIFY(SaveExchangeLog(ProgramExchangeLog(), shared));
        const auto wide =
            QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
        QVERIFY(QFile::setPermissions(shared, wide));
        QVERIFY(SaveExchangeLog(ProgramExchangeLog(), shared));
        QCOMPARE(QFile::permissions(shared) & (wide | others), wide);
    }

    void failedSaveIsReported() {
        FakeLink link;
        ReadState();
        QTemporaryDir dir;
        QVERIFY(
            !SaveExchangeLog(ProgramExchangeLog(), dir.filePath(QStringLiteral("no/such/dir"))));
    }
};

QTEST_GUILESS_MAIN(TestExchangeLog)
#include "tst_exchangelog.moc"
