// The whole-configuration download and upload and the form table reading:
// the frames on the line, the questions, the indicators and what a stop leaves.
#include <QtTest>
#include <cstring>

#include "config/ConfigurationTransfer.h"
#include "config/DeviceConfiguration.h"
#include "device/DeviceCharset.h"
#include "device/PortNames.h"
#include "device/Protocol.h"
#include "emulator/DeviceEmulator.h"
#include "emulator/EmulatorLink.h"
#include "emulator/Requests.h"
#include "forms/FormTableTransfer.h"
#include "support/RecordingProgress.h"
#include "support/ScriptedDialogs.h"
#include "support/SimProcess.h"
#include "support/TestDevice.h"

namespace {

DeviceConfiguration FreshConfiguration() {
    DeviceConfiguration config;
    std::memset(&config, 0, sizeof config);
    ResetFormTable(config);
    ResetConfiguration(config);
    return config;
}

DeviceConfiguration MarkedConfiguration() {
    DeviceConfiguration config;
    MarkConfiguration(config);
    return config;
}

struct Address {
    int group, index, line;
};

// The parameter addresses of a whole download, in order.
QList<Address> DownloadOrder() {
    QList<Address> order;
    for (int n = 1; n <= 8; ++n)
        for (int l = 1; l <= 3; ++l) order.append({0, n, l});
    order.append({1, 1, 1});
    for (int g : {2, 3})
        for (int n = 1; n <= 8; ++n)
            for (int l = 1; l <= 3; ++l) order.append({g, n, l});
    for (int c = 1; c <= 2; ++c)
        for (int l = 1; l <= 8; ++l) order.append({4, c, l});
    return order;
}

// The frames of an upload of a fresh configuration: no operator (no password),
// every other line empty, a probe read before each cliché.
QList<QByteArray> FreshUploadFrames() {
    QList<QByteArray> frames;
    frames << ParameterRequest(ModeWrite, 1, 1, 1);
    for (int g : {2, 3})
        for (int n = 1; n <= 8; ++n)
            for (int l = 1; l <= 3; ++l) frames << ParameterRequest(ModeWrite, g, n, l);
    for (int c = 1; c <= 2; ++c) {
        frames << ParameterRequest(ModeRead, 4, c, 1);
        for (int l = 1; l <= 8; ++l) frames << ParameterRequest(ModeWrite, 4, c, l);
    }
    return frames;
}

QList<QByteArray> Requests(const DeviceEmulator& device) {
    QList<QByteArray> list;
    for (const auto& exchange : device.log()) list << exchange.request;
    return list;
}

class RecordingPages : public ConfigurationPages {
public:
    void refreshOperators() override { calls << QStringLiteral("operators"); }
    void refreshDocumentName() override { calls << QStringLiteral("document"); }
    void refreshServices() override { calls << QStringLiteral("services"); }
    void refreshRequisites() override { calls << QStringLiteral("requisites"); }
    void refreshCliche(int c) override { calls << QStringLiteral("cliche %1").arg(c); }
    QStringList calls;
};

QStringList Steps(int total, int count) {
    QStringList steps;
    for (int i = 1; i <= count; ++i) steps << QStringLiteral("step %1/%2").arg(i).arg(total);
    return steps;
}

}  // namespace

class TestTransfer : public QObject {
    Q_OBJECT

    DeviceEmulator& device() { return InProcessEmulator(); }

    void useSerialPort(const QString& path) {
        PortSettings& settings = CurrentPortSettings();
        settings.PortName = path;
        settings.BaudRate = 115200;
        settings.ByteTimeout = 250;
        settings.TotalTimeout = 2500;
    }

private slots:
    void init() { UseEmulator(); }

    void downloadReadsEveryItemInOrderAndDecodes() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        RecordingPages pages;
        device().setParameter(0, 1, 1, DeviceLine("0КАССИР"));
        device().setParameter(0, 1, 2, DeviceLine("1ИВАНОВ И.И."));
        device().setParameter(0, 1, 3, "12345");  // the model keeps four digits
        device().setAccess(0, 2, false);
        device().setParameter(2, 8, 3, DeviceLine("0СТРИЖКА"));
        device().setParameter(3, 1, 1, DeviceLine("0ЛИЦЕВОЙ СЧЕТ"));
        device().setParameter(4, 2, 8, DeviceLine("0СПАСИБО!"));
        device().setAccess(3, 5, false);

        DeviceConfiguration config = MarkedConfiguration();
        QVERIFY(DownloadConfiguration(config, &pages));

        QList<QByteArray> expected;
        for (const Address& a : DownloadOrder())
            expected << ParameterRequest(ModeRead, a.group, a.index, a.line);
        QCOMPARE(Requests(device()), expected);

        QCOMPARE(Stored(config.operators[0].position), U("0КАССИР"));
        QCOMPARE(Stored(config.operators[0].name), U("1ИВАНОВ И.И."));
        QCOMPARE(QByteArray(config.operators[0].password), QByteArray("1234"));
        QCOMPARE(int(config.operators[0].access), 1);
        QCOMPARE(int(config.operators[1].access), 0);
        QCOMPARE(Stored(config.operators[1].name), QString());
        QCOMPARE(Stored(config.documentName), U("0КВИТАНЦИЯ"));
        QCOMPARE(Stored(config.services[7].lines[2]), U("0СТРИЖКА"));
        QCOMPARE(Stored(config.requisites[0].lines[0]), U("0ЛИЦЕВОЙ СЧЕТ"));
        QCOMPARE(int(config.requisites[4].access), 0);
        QCOMPARE(Stored(config.cliches[1].lines[7]), U("0СПАСИБО!"));
        QCOMPARE(Stored(config.cliches[0].lines[0]), QString());

        QCOMPARE(pages.calls,
                 L({"operators", "document", "services", "requisites", "cliche 0", "cliche 1"}));
        QStringList log = L({"wait Данные операторов...", "busy on", "begin"});
        log << Steps(24, 24)
            << L({"end", "busy off", "text ДСО...", "busy on", "busy off",
                  "text Наименование услуг...", "busy on", "begin"})
            << Steps(24, 24)
            << L({"end", "busy off", "text Дополнительные реквизиты...", "busy on", "begin"})
            << Steps(24, 24) << L({"end", "busy off", "text Клише..."});
        for (int c = 0; c < 2; ++c) log << U("begin") << Steps(8, 8) << L({"end", "busy off"});
        log << U("hide");
        QCOMPARE(progress.log, log);
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(IsWarning(dialogs.shown[0]));
        QCOMPARE(dialogs.shown[0].text, U("Прочитано удачно..."));
    }

    // A 0x80 inside a device text decodes to a zero: what is shown ends there,
    // but the model keeps the bytes after it, as it keeps every other byte the
    // device sent, so that a file saved from it holds the whole text.
    void terminatorInsideADeviceTextKeepsWhatFollows() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        device().setParameter(0, 1, 2, DeviceLine("1ИВАНОВ") + '\x80' + DeviceLine("ПЕТР"));
        device().setParameter(4, 1, 8, QByteArray("\x80") + DeviceLine("ЯЗ"));

        DeviceConfiguration config = MarkedConfiguration();
        QVERIFY(DownloadConfiguration(config));

        const QByteArray name = ToCp1251(U("1ИВАНОВ")) + '\0' + ToCp1251(U("ПЕТР"));
        QCOMPARE(QByteArray(config.operators[0].name.bytes, int(sizeof(DeviceText))),
                 name + QByteArray(int(sizeof(DeviceText)) - name.size(), '\0'));
        QCOMPARE(Stored(config.operators[0].name), U("1ИВАНОВ"));
        const QByteArray line = '\0' + ToCp1251(U("ЯЗ"));
        QCOMPARE(QByteArray(config.cliches[0].lines[7].bytes, int(line.size()) + 1), line + '\0');
        QCOMPARE(Stored(config.cliches[0].lines[7]), QString());
    }

    // Through the real serial code on a pseudo-terminal: the exact frames of a
    // fresh upload, then a configured one read back whole.
    void uploadAndDownloadOverTheSerialLine() {
        SimProcess sim({QStringLiteral("--log")});
        QVERIFY2(sim.isReady(), qPrintable(sim.errorString()));
        useSerialPort(sim.portPath());
        ScriptedDialogs dialogs;
        RecordingProgress progress;

        DeviceConfiguration fresh = FreshConfiguration();
        QVERIFY(UploadConfiguration(fresh));
        const QList<QByteArray> frames = FreshUploadFrames();
        QVERIFY(sim.waitForExchanges(int(frames.size())));
        QCOMPARE(sim.requests(), frames);
        for (const QByteArray& response : sim.responses()) QCOMPARE(ErrorOf(response), 0);
        QCOMPARE(dialogs.texts(), QStringList{U("Записано удачно...")});
        // The caption changes before the window shows, never on screen.
        QCOMPARE(progress.log.mid(0, 2), L({"caption Загрузка...", "wait Данные операторов..."}));
        QCOMPARE(progress.waitCaption, U("Загрузка..."));
        QVERIFY(!progress.waitVisible);
        QVERIFY(!progress.busyNow);

        // Only operators with access and a non-zero password are written.
        DeviceConfiguration config = FreshConfiguration();
        SetStored(config.operators[0].position, "0СТАРШИЙ КАССИР");
        SetStored(config.operators[0].name, "1ПЕТРОВ П.П.");
        SetPassword(config.operators[0], "1234");
        SetStored(config.operators[1].name, "0НУЛИ");
        SetPassword(config.operators[1], "0000");
        SetStored(config.operators[2].name, "0БЕЗ ДОСТУПА");
        SetPassword(config.operators[2], "77");
        config.operators[2].access = 0;
        SetStored(config.operators[3].name, "0НЕ ЧИСЛО");
        SetPassword(config.operators[3], "12A");
        SetStored(config.operators[7].name, "0ПОСЛЕДНИЙ");
        SetPassword(config.operators[7], "8");
        SetStored(config.documentName, "1ЧЕК");
        SetStored(config.services[0].lines[0], "0УСЛУГА ОДИН");
        SetStored(config.services[1].lines[0], "0ЗАКРЫТАЯ УСЛУГА");
        config.services[1].access = 0;
        SetStored(config.requisites[7].lines[2], "0РЕКВИЗИТ");
        SetStored(config.cliches[0].lines[0], "1ООО РОМАШКА");
        SetStored(config.cliches[1].lines[7], "0ДО СВИДАНИЯ");
        sim.clearLog();
        progress.log.clear();
        dialogs.clear();
        QVERIFY(UploadConfiguration(config));
        QVERIFY(sim.waitForExchanges(3 + 3 + 1 + 21 + 24 + 18));
        QList<QByteArray> operatorWrites;
        for (const QByteArray& request : sim.requests())
            if (FrameByte(request, 9) == 0) operatorWrites << request;
        const QByteArray name = ToCp1251(U("1ПЕТРОВ П.П."));
        QByteArray encodedName(name.size() + 1, '\0');
        EncodeDeviceText(name.constData(), encodedName.data());
        QCOMPARE(operatorWrites.size(), 6);
        QCOMPARE(operatorWrites[1], ParameterRequest(ModeWrite, 0, 1, 2, encodedName.left(13)));
        QCOMPARE(operatorWrites[2], ParameterRequest(ModeWrite, 0, 1, 3, "1234"));
        QCOMPARE(FrameByte(operatorWrites[3], 10), 8);
        QCOMPARE(progress.log.mid(4, 7), L({"step 1/24", "step 2/24", "step 3/24", "step 22/24",
                                            "step 23/24", "step 24/24", "end"}));

        DeviceConfiguration back = MarkedConfiguration();
        QVERIFY(DownloadConfiguration(back));
        for (int n : {0, 7}) {
            QCOMPARE(Stored(back.operators[n].position), Stored(config.operators[n].position));
            QCOMPARE(Stored(back.operators[n].name), Stored(config.operators[n].name));
            QCOMPARE(QByteArray(back.operators[n].password),
                     QByteArray(config.operators[n].password));
        }
        for (int n : {1, 2, 3}) QCOMPARE(Stored(back.operators[n].name), QString());
        QCOMPARE(Stored(back.documentName), U("1ЧЕК"));
        QCOMPARE(Stored(back.services[0].lines[0]), U("0УСЛУГА ОДИН"));
        QCOMPARE(Stored(back.services[1].lines[0]), QString());
        QCOMPARE(Stored(back.requisites[7].lines[2]), U("0РЕКВИЗИТ"));
        QCOMPARE(Stored(back.cliches[0].lines[0]), U("1ООО РОМАШКА"));
        QCOMPARE(Stored(back.cliches[1].lines[7]), U("0ДО СВИДАНИЯ"));
        QCOMPARE(dialogs.texts().last(), U("Прочитано удачно..."));
        QCOMPARE(dialogs.unexpectedQuestions, 0);
        // The caption the upload set is not set back by the download.
        QCOMPARE(progress.waitCaption, U("Загрузка..."));
    }

    void uploadSkipsAMissingSecondCliche() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        device().setOneClicheOnly(true);
        DeviceConfiguration config = FreshConfiguration();
        SetStored(config.cliches[0].lines[2], "0ТРЕТЬЯ");
        SetStored(config.cliches[1].lines[2], "0НЕ ДОЙДЕТ");
        QVERIFY(UploadConfiguration(config));
        QCOMPARE(dialogs.texts(), QStringList{U("Записано удачно...")});
        int clicheOneWrites = 0, clicheTwoRequests = 0;
        for (const auto& exchange : device().log()) {
            if (FrameByte(exchange.request, 9) != 4) continue;
            if (FrameByte(exchange.request, 10) == 2) {
                ++clicheTwoRequests;
                QCOMPARE(exchange.request, ParameterRequest(ModeRead, 4, 2, 1));
                QCOMPARE(ErrorOf(exchange.response), 51);
            } else if (FrameByte(exchange.request, 8) == ModeWrite) {
                ++clicheOneWrites;
            }
        }
        QCOMPARE(clicheOneWrites, 8);
        QCOMPARE(clicheTwoRequests, 1);
        QCOMPARE(device().parameter(4, 1, 3), DeviceLine("0ТРЕТЬЯ") + QByteArray(18, '\0'));
        // One bar and one hourglass for both clichés: set up once, taken down after each.
        QStringList tail = L({"text Загрузка клише...", "busy on", "begin"});
        tail << Steps(8, 8) << L({"end", "busy off", "end", "busy off", "hide"});
        QCOMPARE(progress.log.mid(progress.log.size() - tail.size()), tail);
    }

    void downloadStoppedInTheServicesPhase() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        RecordingPages pages;
        device().setParameter(2, 1, 1, DeviceLine("0НОВАЯ"));
        device().setParameter(2, 3, 1, DeviceLine("0НЕ ПРОЧИТАЕТСЯ"));
        device().setParameter(2, 3, 2, DeviceLine("0НЕ ДОЙДЕТ"));
        Fault silent;
        silent.kind = FaultKind::Silent;
        silent.group = 2;
        silent.index = 3;
        silent.count = 1;
        QVERIFY(device().addFault(silent));
        dialogs.answerNo();

        DeviceConfiguration config = MarkedConfiguration();
        const DeviceConfiguration before = config;
        QVERIFY(!DownloadConfiguration(config, &pages));

        QCOMPARE(dialogs.shown.size(), 2);
        QVERIFY(IsErrorQuestion(dialogs.shown[0]));
        QCOMPARE(dialogs.shown[1].text, U("Прочитано: 31. Не прочитаны: услуга 3, строка 1. "
                                          "Остальные не читались."));
        QCOMPARE(dialogs.shown[0].text,
                 U("Не удалось прочитать параметр... Нет ответа или не удалось открыть "
                   "порт.\n Продолжить?"));
        QCOMPARE(Stored(config.operators[4].name), QString());  // new (the device's empty line)
        QCOMPARE(Stored(config.documentName), U("0КВИТАНЦИЯ"));
        QCOMPARE(Stored(config.services[0].lines[0]), U("0НОВАЯ"));
        QCOMPARE(Stored(config.services[1].lines[2]), QString());
        // The failed line keeps the program's value: the device said nothing of it.
        QCOMPARE(Stored(config.services[2].lines[0]), U("0СТАРОЕ"));
        QCOMPARE(Stored(config.services[2].lines[1]), U("0СТАРОЕ"));
        for (int n = 3; n < 8; ++n) QCOMPARE(Stored(config.services[n].lines[0]), U("0СТАРОЕ"));
        QVERIFY(std::memcmp(config.requisites, before.requisites, sizeof config.requisites) == 0);
        QVERIFY(std::memcmp(config.cliches, before.cliches, sizeof config.cliches) == 0);
        QCOMPARE(pages.calls, L({"operators", "document", "services"}));
        QCOMPARE(progress.log.mid(progress.log.size() - 4),
                 L({"step 6/24", "end", "busy off", "hide"}));
        QVERIFY(!progress.waitVisible);
    }

    // "Прервать" in the operators phase: the exchange in flight ends, no later
    // phase sends anything, the indicators come down before the message.
    void downloadStoppedByTheUser() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        progress.stopAfterSteps = 5;
        DeviceConfiguration config = MarkedConfiguration();
        QVERIFY(!DownloadConfiguration(config));
        QCOMPARE(device().log().size(), 5);
        QCOMPARE(dialogs.texts(), L({"Операция прервана."}));
        QVERIFY(IsWarning(dialogs.shown[0]));
        QCOMPARE(progress.log.mid(progress.log.size() - 4),
                 L({"step 5/24", "end", "busy off", "hide"}));
        QCOMPARE(Stored(config.documentName), U("0СТАРОЕ"));
    }

    // A device that stops answering: every item asks once; Да to all runs to the
    // end with every item as the program held it.
    void silentDeviceAsksOncePerItem() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        Fault silent;
        silent.kind = FaultKind::Silent;
        QVERIFY(device().addFault(silent));
        dialogs.answerYes(200);

        DeviceConfiguration config = MarkedConfiguration();
        const DeviceConfiguration before = config;
        QVERIFY(DownloadConfiguration(config));
        QCOMPARE(dialogs.shown.size(), 89 + 1);
        for (int i = 0; i < 89; ++i) QVERIFY(IsErrorQuestion(dialogs.shown[i]));
        // Nothing was read: no success, and the summary stays readable.
        QCOMPARE(dialogs.shown.last().text,
                 U("Прочитано: 0 из 89. Не прочитаны: оператор 1, строка 1, оператор 1, строка "
                   "2, оператор 1, строка 3, оператор 2, строка 1, оператор 2, строка 2, оператор "
                   "2, строка 3, оператор 3, строка 1, оператор 3, строка 2, оператор 3, строка 3, "
                   "оператор 4, строка 1 и ещё 79."));
        QVERIFY(std::memcmp(&config, &before, ConfigurationBlockSize) == 0);

        config = FreshConfiguration();
        dialogs.clear();
        dialogs.answerYes(200);
        QVERIFY(UploadConfiguration(config));
        // The probes fail without a question and the clichés are written anyway.
        QCOMPARE(dialogs.shown.size(), 1 + 24 + 24 + 8 + 8 + 1);
        // The download left the line out of step: nothing more is sent
        // before a marker has been answered.
        QCOMPARE(dialogs.shown[0].text,
                 U("Не удалось записать параметр... Обмен с АС сбился - АС не ответил на "
                   "проверку линии.\n Продолжить?"));
        QVERIFY(dialogs.shown.last().summary);
        QVERIFY(dialogs.shown.last().text.startsWith(U("Записано: 0 из 65. Не записаны: ДСО, ")));
        QVERIFY(!progress.busyNow);
    }

    // Garbage, part answers and device refusals in the middle of a transfer give
    // the question with the reason; the transfer goes on after Да.
    void badAnswersInTheMiddle_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("reason");
        QTest::newRow("part answer") << int(FaultKind::Truncate) << 12
                                     << U("Неккоректный ответ - первый байт не STX_SLAVE.");
        QTest::newRow("garbage first byte") << int(FaultKind::WrongFirstByte) << 0x55
                                            << U("Неккоректный ответ - первый байт не STX_SLAVE.");
        QTest::newRow("wrong code")
            << int(FaultKind::WrongCode) << 0x70
            << U("Неккоректный ответ - код ответа не соответствует коду команды.");
        QTest::newRow("device error")
            << int(FaultKind::DeviceError) << 52 << U(" Запись используется.");
    }
    void badAnswersInTheMiddle() {
        QFETCH(int, kind);
        QFETCH(int, value);
        QFETCH(QString, reason);
        for (bool upload : {false, true}) {
            device().reset();
            ScriptedDialogs dialogs;
            RecordingProgress progress;
            Fault fault;
            fault.kind = FaultKind(kind);
            fault.value = value;
            fault.group = 3;
            fault.index = 5;
            fault.count = 1;
            QVERIFY(device().addFault(fault));
            dialogs.answerYes();
            DeviceConfiguration config = FreshConfiguration();
            QVERIFY(upload ? UploadConfiguration(config) : DownloadConfiguration(config));
            QCOMPARE(dialogs.shown.size(), 2);
            const QString lead = upload ? U("Не удалось записать параметр... ")
                                        : U("Не удалось прочитать параметр... ");
            QCOMPARE(dialogs.shown[0].text, lead + reason + U("\n Продолжить?"));
            QCOMPARE(dialogs.unexpectedQuestions, 0);
            QVERIFY(!progress.waitVisible);
        }
    }

    void uploadStoppedWritesNothingMore() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        Fault refuse;
        refuse.kind = FaultKind::DeviceError;
        refuse.value = 30;
        refuse.group = 1;
        QVERIFY(device().addFault(refuse));
        dialogs.answerNo();
        DeviceConfiguration config = FreshConfiguration();
        QVERIFY(!UploadConfiguration(config));
        QCOMPARE(device().log().size(), 1);
        QCOMPARE(dialogs.texts().value(1),
                 U("Записано: 0. Не записаны: ДСО. Остальные не записывались."));
        QCOMPARE(progress.log.mid(progress.log.size() - 4),
                 L({"text Загрузка ДСО...", "busy on", "busy off", "hide"}));
    }

    void aFactoryNumberThatDoesNotConvertSendsNothing() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        CurrentPortSettings().MachineNumber = "99999999999";
        DeviceConfiguration config = FreshConfiguration();
        QVERIFY_THROWS_EXCEPTION(ConversionError, DownloadConfiguration(config));
        QVERIFY_THROWS_EXCEPTION(ConversionError, UploadConfiguration(config));
        QVERIFY_THROWS_EXCEPTION(ConversionError, ReadFormTable(config));
        QVERIFY(device().log().isEmpty());
        QVERIFY(!progress.waitVisible);
        QVERIFY(!progress.busyNow);
    }

    void formTableRead() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        device().setGroup(3);
        device().setForm(2, {false, 0, 0, 0});
        device().setForm(5, {true, 4, 2, 1});
        DeviceConfiguration config = FreshConfiguration();
        config.forms[0] = {1, 6, 8, 3};  // sent as the read request's form bytes

        QCOMPARE(ReadFormTable(config), std::optional<int>(3));
        QList<QByteArray> expected = {StateRequest(), FormRequest(ModeRead, 1, 6, 8, 3)};
        for (int n = 2; n <= 8; ++n) expected << FormRequest(ModeRead, n);
        QCOMPARE(Requests(device()), expected);
        QCOMPARE(int(config.forms[0].variant), 0);
        QCOMPARE(int(config.forms[1].status), 0);
        QCOMPARE(int(config.forms[4].status), 1);
        QCOMPARE(int(config.forms[4].variant), 4);
        QCOMPARE(int(config.forms[4].requisite), 2);
        QCOMPARE(int(config.forms[4].kind), 1);
        QVERIFY(dialogs.shown.isEmpty());
        QCOMPARE(progress.log.first(), U("wait Запрос текущей группы..."));
        QCOMPARE(progress.log.last(), U("hide"));
    }

    void formTableAfterAFailedStateQuery_data() {
        QTest::addColumn<bool>("goOn");
        QTest::newRow("Да") << true;
        QTest::newRow("Нет") << false;
    }
    void formTableAfterAFailedStateQuery() {
        QFETCH(bool, goOn);
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        Fault silent;
        silent.kind = FaultKind::Silent;
        silent.command = CmdState;
        silent.count = 1;
        QVERIFY(device().addFault(silent));
        device().setForm(3, {false, 0, 0, 0});
        dialogs.answer(goOn);
        DeviceConfiguration config = FreshConfiguration();

        QCOMPARE(ReadFormTable(config), std::nullopt);
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(IsConfirmation(dialogs.shown[0]));
        QCOMPARE(dialogs.shown[0].text, U("Не удалось выполнить запрос состояния!\nТекущая "
                                          "группа неизвестна. Желаете продолжить?"));
        // Going on, a marker (a state query) puts the line in step first.
        QCOMPARE(device().log().size(), goOn ? 1 + 1 + 8 : 1);
        QCOMPARE(int(config.forms[2].status), goOn ? 0 : 1);
        QVERIFY(!progress.waitVisible);
    }

    void aFailedFormEndsTheTable() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        Fault fault;
        fault.kind = FaultKind::Truncate;
        fault.value = 3;
        fault.command = CmdForm;
        fault.index = 4;
        QVERIFY(device().addFault(fault));
        for (int n = 1; n <= 8; ++n) device().setForm(n, {false, 0, 0, 0});
        DeviceConfiguration config = FreshConfiguration();
        QCOMPARE(ReadFormTable(config), std::optional<int>(2));
        QCOMPARE(device().log().size(), 1 + 4);
        for (int n = 0; n < 3; ++n) QCOMPARE(int(config.forms[n].status), 0);
        for (int n = 3; n < 8; ++n) QCOMPARE(int(config.forms[n].status), 1);
        // The forms after it are not the device's: said, with the form named.
        QCOMPARE(dialogs.texts(),
                 L({"Прочитано: 3. Не прочитаны: форма 4. Остальные не читались."}));
        QVERIFY(!progress.waitVisible);
    }
};

QTEST_GUILESS_MAIN(TestTransfer)
#include "tst_transfer.moc"
