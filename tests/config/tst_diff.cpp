// Comparing the program's configuration with the device's: the items found,
// how they read, and writing or taking only those.
#include <QtTest>
#include <cstring>

#include "config/ConfigurationDiff.h"
#include "config/ConfigurationTransfer.h"
#include "config/DeviceConfiguration.h"
#include "config/UploadSkips.h"
#include "emulator/EmulatorCommands.h"
#include "emulator/Requests.h"
#include "image/WholeConfigurationTransfer.h"
#include "support/RecordingProgress.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDevice.h"

namespace {

DeviceConfiguration Marked() {
    DeviceConfiguration config;
    MarkConfiguration(config);
    return config;
}

QStringList Names(const QVector<ConfigurationDifference>& differences) {
    QStringList names;
    for (const ConfigurationDifference& difference : differences) names << difference.name;
    return names;
}

QList<QByteArray> Requests(const DeviceEmulator& device) {
    QList<QByteArray> list;
    for (const auto& exchange : device.log()) list << exchange.request;
    return list;
}

// The device holds `config` as far as the parameter and form commands reach.
void Program(DeviceEmulator& device, const DeviceConfiguration& config) {
    auto text = [](const DeviceText& line) {
        const QByteArray pc = FieldText(line.bytes, int(sizeof line.bytes));
        QByteArray encoded(DeviceDataSize + 1, '\0');
        EncodeDeviceText(pc.constData(), encoded.data());
        return encoded.left(pc.size());
    };
    for (int o = 0; o < OperatorCount; ++o) {
        device.setParameter(0, o + 1, 1, text(config.operators[o].position));
        device.setParameter(0, o + 1, 2, text(config.operators[o].name));
        device.setParameter(0, o + 1, 3, QByteArray(config.operators[o].password));
    }
    device.setParameter(1, 1, 1, text(config.documentName));
    for (int r = 0; r < 8; ++r)
        for (int l = 0; l < 3; ++l) {
            device.setParameter(2, r + 1, l + 1, text(config.services[r].lines[l]));
            device.setParameter(3, r + 1, l + 1, text(config.requisites[r].lines[l]));
        }
    for (int c = 0; c < ClicheCount; ++c)
        for (int l = 0; l < ClicheLineCount; ++l)
            device.setParameter(4, c + 1, l + 1, text(config.cliches[c].lines[l]));
    for (int f = 0; f < FormCount; ++f)
        device.setForm(f + 1, {true, config.forms[f].variant, config.forms[f].requisite,
                               config.forms[f].kind});
}

// The read for a comparison on a device that answers every item.
bool ReadEveryItem(DeviceConfiguration& device) {
    UnreadItems unread;
    return ReadConfigurationForComparison(device, unread) && unread.failed.isEmpty() &&
           unread.absentCliches.isEmpty();
}

}  // namespace

class TestDiff : public QObject {
    Q_OBJECT

private slots:
    void init() { UseEmulator(); }

    void namesEachKindOfItemWithBothValues() {
        const DeviceConfiguration device = Marked();
        DeviceConfiguration program = device;
        SetStored(program.operators[2].name, "1ПЕТРОВ");
        SetPassword(program.operators[2], "1234");
        SetStored(program.documentName, "0КВИТАНЦИЯ");
        SetStored(program.services[4].lines[1], "0СТРИЖКА");
        SetStored(program.requisites[7].lines[2], "");
        SetStored(program.cliches[0].lines[3], "0СПАСИБО");
        program.forms[1] = {1, 3, 2, 1};
        // An empty line is empty whatever its width flag says.
        SetStored(program.cliches[1].lines[0], "1");
        DeviceConfiguration emptyFlag = device;
        SetStored(emptyFlag.cliches[1].lines[0], "");
        SetStored(program.cliches[1].lines[1], "0");

        const QVector<ConfigurationDifference> differences = CompareConfigurations(device, program);
        QCOMPARE(Names(differences),
                 L({"оператор 3, Ф.И.О.", "оператор 3, пароль", "название ДСО",
                    "услуга 5, строка 2", "реквизит 8, строка 3", "клише 1, строка 4",
                    "клише 2, строка 1", "клише 2, строка 2", "форма 2"}));
        QCOMPARE(differences[0].deviceValue, U("СТАРОЕ"));
        QCOMPARE(differences[0].programValue, U("ПЕТРОВ (широкая)"));
        QCOMPARE(differences[1].deviceValue, U("**"));
        QCOMPARE(differences[1].programValue, U("**"));
        QCOMPARE(differences[4].programValue, QString());
        QCOMPARE(differences[8].deviceValue, U("вариант нет, реквизит нет, вид нет"));
        QCOMPARE(differences[8].programValue, U("вариант 3, реквизит 2, вид С"));
        QVERIFY(CompareConfigurations(device, device).isEmpty());
        // A width flag alone is no text: "1" against an empty field is the same line.
        QCOMPARE(Names(CompareConfigurations(emptyFlag, program)).count(U("клише 2, строка 1")), 0);
    }

    void takingCopiesOnlyTheItems() {
        const DeviceConfiguration device = Marked();
        DeviceConfiguration program = device;
        SetStored(program.operators[0].position, "0НОВОЕ");
        SetStored(program.operators[1].position, "0ОСТАЕТСЯ");
        SetPassword(program.operators[0], "5");
        program.forms[7] = {1, 6, 8, 3};
        QVector<ConfigurationItem> items = {
            {ConfigurationItemKind::OperatorLine, 1, 1},
            {ConfigurationItemKind::OperatorLine, 1, 3},
            {ConfigurationItemKind::Form, 8, 1},
            {ConfigurationItemKind::ClicheLine, 3, 1},  // no such cliché: ignored
        };
        CopyConfigurationItems(program, device, items);
        QCOMPARE(Stored(program.operators[0].position), U("0СТАРОЕ"));
        QCOMPARE(QByteArray(program.operators[0].password), QByteArray("99"));
        QCOMPARE(int(program.forms[7].variant), 0);
        QCOMPARE(Stored(program.operators[1].position), U("0ОСТАЕТСЯ"));
    }

    // The device read into a copy: the program's model stays as it was; the
    // three changed items, written as changed, are exactly three frames, and
    // then nothing differs.
    void readingAndWritingOnlyTheDifferences() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        DeviceEmulator& emulator = InProcessEmulator();
        const DeviceConfiguration original = Marked();
        Program(emulator, original);
        DeviceConfiguration program = original;
        SetStored(program.operators[2].name, "0ПЕТРОВ");
        SetStored(program.services[4].lines[1], "0СТРИЖКА");
        program.forms[1] = {1, 3, 2, 1};
        const DeviceConfiguration before = program;

        DeviceConfiguration device = program;
        QVERIFY(ReadEveryItem(device));
        QVERIFY(std::memcmp(&program, &before, sizeof program) == 0);
        QVERIFY(dialogs.shown.isEmpty());  // no "Прочитано удачно..." before the window
        QVERIFY(!progress.waitVisible);
        const QVector<ConfigurationDifference> differences = CompareConfigurations(device, program);
        QCOMPARE(Names(differences), L({"оператор 3, Ф.И.О.", "услуга 5, строка 2", "форма 2"}));

        emulator.clearLog();
        QVERIFY(UploadConfigurationAndForms(program, ItemsOf(differences)));
        QCOMPARE(Requests(emulator),
                 (QList<QByteArray>{ParameterRequest(ModeWrite, 0, 3, 2, DeviceLine("0ПЕТРОВ")),
                                    ParameterRequest(ModeWrite, 2, 5, 2, DeviceLine("0СТРИЖКА")),
                                    FormRequest(ModeWrite, 2, 3, 2, 1)}));
        QCOMPARE(dialogs.texts().last(), U("Записано удачно..."));

        device = program;
        QVERIFY(ReadEveryItem(device));
        QVERIFY(CompareConfigurations(device, program).isEmpty());
    }

    // What the upload would not write is not written as changed either: an
    // operator the device keeps locked.
    void changedItemsFollowTheUploadsRules() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        DeviceEmulator& emulator = InProcessEmulator();
        DeviceConfiguration program = Marked();
        program.operators[3].access = 0;
        emulator.clearLog();
        QVERIFY(UploadConfigurationAndForms(program, {{ConfigurationItemKind::OperatorLine, 4, 2},
                                                      {ConfigurationItemKind::ClicheLine, 2, 5}}));
        // The cliché is asked about (line 1) before its one line goes.
        QCOMPARE(Requests(emulator),
                 (QList<QByteArray>{ParameterRequest(ModeRead, 4, 2, 1),
                                    ParameterRequest(ModeWrite, 4, 2, 5, DeviceLine("0СТАРОЕ"))}));

        // ... and the comparison says so before anything is written.
        std::strcpy(program.operators[5].password, "000");
        program.services[1].access = 0;
        DeviceConfiguration device = program;
        std::strcpy(device.operators[3].name.bytes, "OTHER");
        std::strcpy(device.operators[5].name.bytes, "OTHER");
        std::strcpy(device.services[1].lines[0].bytes, "OTHER");
        std::strcpy(device.services[2].lines[0].bytes, "OTHER");
        const QVector<ConfigurationDifference> differences = CompareConfigurations(device, program);
        QStringList reasons;
        for (const ConfigurationDifference& difference : differences)
            reasons << difference.skipReason;
        QCOMPARE(reasons, (QStringList{QStringLiteral("изменение запрещено в АС"),
                                       QStringLiteral("пароль оператора пуст или равен нулю"),
                                       QStringLiteral("изменение запрещено в АС"), QString()}));
        QCOMPARE(SkippedDifferencesText(differences),
                 QStringLiteral("Не будут записаны в АС: оператор 4, Ф.И.О. (изменение запрещено "
                                "в АС); оператор 6, Ф.И.О. (пароль оператора пуст или равен "
                                "нулю); услуга 2, строка 1 (изменение запрещено в АС)."));
    }

    // A form that fails asks the download's question; "No" ends the read with
    // nothing to compare.
    void aStoppedReadComparesNothing() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        DeviceEmulator& emulator = InProcessEmulator();
        QCOMPARE(ApplyEmulatorCommand(emulator, QStringLiteral("fault error 52 cmd=102 index=3")),
                 QString());
        dialogs.answerNo();
        DeviceConfiguration device = Marked();
        QVERIFY(!ReadEveryItem(device));
        QCOMPARE(dialogs.unexpectedQuestions, 0);
        QVERIFY(IsErrorQuestion(dialogs.shown.value(0)));
        QVERIFY(dialogs.shown.value(0).text.startsWith(U("Не удалось прочитать бланк...")));
        QVERIFY(!progress.waitVisible);
    }

    // A line whose read fails and is passed over keeps the program's value in
    // a download, and its access flag is not taken from the failed answer.
    void aFailedReadKeepsTheProgramsValue() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        DeviceEmulator& emulator = InProcessEmulator();
        DeviceConfiguration onDevice = Marked();
        for (auto& op : onDevice.operators) SetStored(op.position, "0НОВОЕ");
        Program(emulator, onDevice);
        QCOMPARE(ApplyEmulatorCommand(
                     emulator, QStringLiteral("fault error 52 cmd=112 group=0 index=2 count=1")),
                 QString());
        dialogs.answerYes();
        DeviceConfiguration config = Marked();
        config.operators[1].access = 0;
        DownloadConfiguration(config);
        QCOMPARE(dialogs.unexpectedQuestions, 0);
        QCOMPARE(Stored(config.operators[1].position), U("0СТАРОЕ"));
        QCOMPARE(int(config.operators[1].access), 0);
        QCOMPARE(Stored(config.operators[0].position), U("0НОВОЕ"));
        QCOMPARE(Stored(config.operators[2].position), U("0НОВОЕ"));
    }

    // Items whose reads failed are unknown: listed whatever the values, never
    // taken, never the same, counted in the summary; the upload may write them.
    void unreadItemsAreUnknown() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        DeviceEmulator& emulator = InProcessEmulator();
        const DeviceConfiguration program = Marked();
        Program(emulator, program);
        emulator.setParameter(2, 5, 1, DeviceLine("0ПРОДАЖА"));
        for (const char* fault : {"fault error 52 cmd=112 group=2 index=5 count=1",
                                  "fault error 52 cmd=102 index=3 count=1"})
            QCOMPARE(ApplyEmulatorCommand(emulator, QString::fromLatin1(fault)), QString());
        dialogs.answerYes(2);

        DeviceConfiguration device = program;
        UnreadItems unread;
        QVERIFY(ReadConfigurationForComparison(device, unread));
        const ConfigurationItem service{ConfigurationItemKind::ServiceLine, 5, 1};
        const ConfigurationItem form{ConfigurationItemKind::Form, 3, 1};
        QCOMPARE(unread.failed, (QVector<ConfigurationItem>{service, form}));
        // Not the blank a failed read used to leave: the copy's own value.
        QCOMPARE(Stored(device.services[4].lines[0]), U("0СТАРОЕ"));

        const QVector<ConfigurationDifference> differences =
            CompareConfigurations(device, program, unread);
        QCOMPARE(Names(differences), L({"услуга 5, строка 1", "форма 3"}));
        for (const ConfigurationDifference& difference : differences) {
            QCOMPARE(difference.deviceState, DeviceValueState::Unknown);
            QCOMPARE(difference.deviceValue, UnknownDeviceValueText());
        }
        QVERIFY(TakenItems(differences).isEmpty());
        QCOMPARE(WrittenItems(differences), (QVector<ConfigurationItem>{service, form}));
        QCOMPARE(ComparisonSummary(differences),
                 U("Отличается элементов: 0\nНе прочитано из АС элементов: 2; что в них хранит "
                   "АС, неизвестно."));
        QCOMPARE(
            UnknownItemsText(differences),
            U("Не прочитаны из АС, их значения в АС неизвестны: услуга 5, строка 1; форма 3."));

        // A difference that was read is taken; the unknown one beside it is not.
        DeviceConfiguration edited = program;
        SetStored(edited.documentName, "0ЧЕК");
        const QVector<ConfigurationDifference> mixed =
            CompareConfigurations(device, edited, unread);
        QCOMPARE(ReadDifferenceCount(mixed), 1);
        QCOMPARE(TakenItems(mixed),
                 (QVector<ConfigurationItem>{{ConfigurationItemKind::DocumentName, 1, 1}}));
    }

    // A device with one cliché: the second one's lines are not unknown but
    // absent, and never offered for writing.
    void aMissingClicheIsNotOffered() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        DeviceEmulator& emulator = InProcessEmulator();
        DeviceConfiguration program = Marked();
        Program(emulator, program);
        emulator.setOneClicheOnly(true);
        dialogs.answerYes(ClicheLineCount);
        DeviceConfiguration device = program;
        UnreadItems unread;
        QVERIFY(ReadConfigurationForComparison(device, unread));
        QVERIFY(unread.failed.isEmpty());
        QCOMPARE(unread.absentCliches, QVector<int>{2});

        SetStored(program.cliches[1].lines[0], "");
        const QVector<ConfigurationDifference> differences =
            CompareConfigurations(device, program, unread);
        QCOMPARE(differences.size(), ClicheLineCount - 1);  // the emptied line is no difference
        QCOMPARE(differences[0].name, U("клише 2, строка 2"));
        QCOMPARE(differences[0].deviceState, DeviceValueState::Absent);
        QCOMPARE(differences[0].deviceValue, AbsentDeviceValueText());
        QCOMPARE(differences[0].skipReason, U("в АС нет клише 2"));
        QVERIFY(WrittenItems(differences).isEmpty());
        QVERIFY(TakenItems(differences).isEmpty());
        QCOMPARE(UnknownItemCount(differences), 0);
    }

    // Small letters, Ё and a long wide line are compared as the device will
    // hold them: named before the write, and the same after it.
    void linesCompareAsTheDeviceHoldsThem() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        DeviceEmulator& emulator = InProcessEmulator();
        DeviceConfiguration program = Marked();
        Program(emulator, program);
        SetStored(program.services[0].lines[0], "0Ёлка");
        SetStored(program.requisites[0].lines[0], "0Ok");
        SetStored(program.cliches[0].lines[0], "1СЧАСТЛИВОГО ПУТИ");

        DeviceConfiguration device = program;
        QVERIFY(ReadEveryItem(device));
        const QVector<ConfigurationDifference> differences = CompareConfigurations(device, program);
        QCOMPARE(Names(differences),
                 L({"услуга 1, строка 1", "реквизит 1, строка 1", "клише 1, строка 1"}));
        QCOMPARE(InexactDifferencesText(differences),
                 U("Будут записаны в АС не так, как в программе: услуга 1, строка 1 (АС не "
                   "печатает символы «Ё», «л», «к», «а»); реквизит 1, строка 1 (АС не печатает "
                   "символ «k»); клише 1, строка 1 (в широкой строке АС хранит 12 символов)."));

        QVERIFY(UploadConfigurationAndForms(program, WrittenItems(differences)));
        device = program;
        QVERIFY(ReadEveryItem(device));
        QVERIFY(CompareConfigurations(device, program).isEmpty());
        // The device still differs from a line it does not hold in that form.
        SetStored(program.services[0].lines[0], "0ЕЛКА");
        QCOMPARE(Names(CompareConfigurations(device, program)), L({"услуга 1, строка 1"}));
    }

    // What is passed over as locked follows the device's flags just read,
    // not the program's: the upload sends what the comparison said.
    void theDevicesAccessDecides() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        DeviceEmulator& emulator = InProcessEmulator();
        DeviceConfiguration program = Marked();
        Program(emulator, program);
        emulator.setAccess(2, 3, false);
        program.services[3].access = 0;
        SetStored(program.services[2].lines[0], "0ЛОКОН");
        SetStored(program.services[3].lines[0], "0ПЛАТОК");

        DeviceConfiguration device = program;
        QVERIFY(ReadEveryItem(device));
        const QVector<ConfigurationDifference> differences = CompareConfigurations(device, program);
        QCOMPARE(Names(differences), L({"услуга 3, строка 1", "услуга 4, строка 1"}));
        QCOMPARE(differences[0].skipReason, U("изменение запрещено в АС"));
        QCOMPARE(differences[1].skipReason, QString());

        emulator.clearLog();
        QVERIFY(UploadConfigurationAndForms(WithDeviceAccess(program, device),
                                            WrittenItems(differences)));
        QCOMPARE(Requests(emulator),
                 QList<QByteArray>{ParameterRequest(ModeWrite, 2, 4, 1, DeviceLine("0ПЛАТОК"))});
    }
};

QTEST_MAIN(TestDiff)
#include "tst_diff.moc"
