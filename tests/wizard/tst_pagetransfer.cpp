// The list pages' transfers against the in-process device: which requests go
// out, which questions and messages come back, what the configuration keeps.
#include <QtTest>

#include "emulator/Requests.h"
#include "support/RecordingProgress.h"
#include "support/ScriptedDialogs.h"
#include "wizard/DeviceLine.h"
#include "wizard/PageTransfer.h"
#include "wizard/WizardTestSupport.h"

namespace {

class RecordingView : public PageView {
public:
    void clearCells(int item, int line) override {
        calls << QStringLiteral("clear %1 %2").arg(item).arg(line);
    }
    void refill() override { calls << QStringLiteral("refill"); }
    void showAccess(int item) override { calls << QStringLiteral("access %1").arg(item); }
    QStringList calls;
};

QString NoAnswer() {
    return U("Нет ответа или не удалось открыть порт.");
}
QString ReadQuestion() {
    return U("Не удалось прочитать параметр... ") + NoAnswer() + U("\n Продолжить?");
}
// After the first silence the line is out of step: later items are not sent
// until a marker is answered.
QString OutOfStepQuestion() {
    return U(
        "Не удалось прочитать параметр... Обмен с АС сбился - АС не ответил на проверку "
        "линии.\n Продолжить?");
}

}  // namespace

class TestPageTransfer : public QObject {
    Q_OBJECT

    DeviceConfiguration config;
    DeviceEmulator* device = nullptr;

private slots:
    void init() {
        device = &UseEmulator();
        MarkConfiguration(config);
    }

    void operatorsWriteSkipsZeroPasswordAndNoAccess() {
        for (auto& op : config.operators) SetPassword(op, "1234");
        SetPassword(config.operators[0], "0000");
        SetPassword(config.operators[5], "");
        config.operators[2].access = 0;
        RecordingView view;
        {
            ScriptedDialogs dialogs;
            WriteItem(OperatorsTransfer(config), 0, view);
            WriteItem(OperatorsTransfer(config), 5, view);
            WriteItem(OperatorsTransfer(config), 2, view);
            QCOMPARE(dialogs.texts(), QStringList({U("Пароль не может быть нулевым..."),
                                                   U("Пароль не может быть нулевым..."),
                                                   U("Параметр недоступен для изменения...")}));
            QVERIFY(IsWarning(dialogs.shown[0]) && IsWarning(dialogs.shown[2]));
            QVERIFY(device->log().isEmpty());
        }
        ScriptedDialogs dialogs;
        WriteItems(OperatorsTransfer(config), view);
        QCOMPARE(dialogs.texts(), QStringList({U("Записано удачно...")}));
        QList<int> written;
        for (const QByteArray& request : Requests(*device)) {
            QCOMPARE(int(uint8_t(request[8])), int(ModeWrite));
            if (int(request[11]) == 1) written << int(request[10]);
        }
        QCOMPARE(written, QList<int>({2, 4, 5, 7, 8}));
        QCOMPARE(device->log().size(), 15);
        QCOMPARE(device->parameter(0, 2, 3).left(4), QByteArray("1234"));
        QVERIFY(!view.calls.contains(QStringLiteral("refill")));  // the cells stay as typed
    }

    void operatorsReadAllWithSilentDevice() {
        config.operators[1].access = 0;
        SwitchOff(*device);
        {  // Yes to every question: every field asked once, every field as it was.
            ScriptedDialogs dialogs;
            RecordingProgress progress;
            dialogs.answerYes(24);
            RecordingView view;
            ReadItems(OperatorsTransfer(config), view);
            QCOMPARE(dialogs.shown.size(), 24 + 1);
            QVERIFY(dialogs.shown.takeLast().summary);
            for (const auto& shown : dialogs.shown) {
                QVERIFY(IsErrorQuestion(shown));
                QCOMPARE(shown.text,
                         &shown == &dialogs.shown.first() ? ReadQuestion() : OutOfStepQuestion());
            }
            for (const auto& op : config.operators) {
                QCOMPARE(Stored(op.position), U("0СТАРОЕ"));
                QCOMPARE(Stored(op.name), U("0СТАРОЕ"));
                QCOMPARE(PasswordText(op.password), QStringLiteral("99"));
            }
            // The silent device said nothing of the access either.
            QCOMPARE(int(config.operators[1].access), 0);
            QCOMPARE(int(config.operators[2].access), 1);
            QCOMPARE(progress.log.filter(QStringLiteral("step")).size(), 24);
            QCOMPARE(progress.log.last(), QStringLiteral("busy off"));
            QCOMPARE(view.calls.last(), QStringLiteral("refill"));
        }
        MarkConfiguration(config);
        device->clearLog();
        ScriptedDialogs dialogs;
        dialogs.answerNo();
        RecordingView view;
        ReadItems(OperatorsTransfer(config), view);
        QCOMPARE(dialogs.shown.size(), 1 + 1);  // the question, the summary
        QCOMPARE(device->log().size(), 1);
        for (int n = 0; n < 8; ++n) QCOMPARE(Stored(config.operators[n].name), U("0СТАРОЕ"));
        QCOMPARE(PasswordText(config.operators[0].password), QStringLiteral("99"));
        QCOMPARE(view.calls, QStringList({QStringLiteral("refill")}));
    }

    // A failure ends the all-item read after the item it happened in,
    // whatever the answers.
    void threeLineReadAllWithSilentDeviceStopsAfterFirstItem_data() {
        QTest::addColumn<int>("group");
        QTest::newRow("services") << int(GroupService);
        QTest::newRow("requisites") << int(GroupRequisite);
    }
    void threeLineReadAllWithSilentDeviceStopsAfterFirstItem() {
        QFETCH(int, group);
        SwitchOff(*device);
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        dialogs.answerYes(24);
        RecordingView view;
        ReadItems(ThreeLineTransfer(config, uint8_t(group)), view);
        // The item's first line asked about, the line then out of step; the
        // other items passed over: said.
        const QString record = group == GroupService ? U("услуга") : U("реквизит");
        QCOMPARE(dialogs.texts(),
                 QStringList({ReadQuestion(), OutOfStepQuestion(), OutOfStepQuestion(),
                              U("Прочитано: 0. Не прочитаны: %1 1, строка 1, %1 1, строка 2, %1 "
                                "1, строка 3. Остальные не читались.")
                                  .arg(record)}));
        // The first item's request, then three markers and one.
        QCOMPARE(device->log().size(), 1 + MarkerAttempts + 1);
        ThreeLineRecord* records = group == GroupService ? config.services : config.requisites;
        for (int n = 0; n < 8; ++n)
            for (const auto& line : records[n].lines) QCOMPARE(Stored(line), U("0СТАРОЕ"));
        QCOMPARE(progress.log,
                 L({"busy on", "begin", "step 1/24", "step 2/24", "step 3/24", "end", "busy off"}));
    }

    // Line 1 new, line 2 (failed) and line 3 (not read) as they were.
    void threeLineSingleReadFailingOnLineTwo_data() {
        QTest::addColumn<int>("group");
        QTest::addColumn<QString>("lead");
        // The services' lead has no space of its own; the message and the
        // error text never run together.
        QTest::newRow("services") << int(GroupService) << U("Не удалось прочитать параметр... ");
        QTest::newRow("requisites")
            << int(GroupRequisite) << U("Не удалось прочитать параметр... ");
    }
    void threeLineSingleReadFailingOnLineTwo() {
        QFETCH(int, group);
        QFETCH(QString, lead);
        for (int line = 1; line <= 3; ++line)
            device->setParameter(group, 4, line, DeviceLine("0НОВОЕ"));
        LosingLink link({2});
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        RecordingView view;
        ReadItem(ThreeLineTransfer(config, uint8_t(group)), 3, view);
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(IsError(dialogs.shown[0]));
        QCOMPARE(dialogs.shown[0].text, lead + NoAnswer());
        const ThreeLineRecord& record =
            (group == GroupService ? config.services : config.requisites)[3];
        QCOMPARE(Stored(record.lines[0]), U("0НОВОЕ"));
        QCOMPARE(Stored(record.lines[1]), U("0СТАРОЕ"));
        QCOMPARE(Stored(record.lines[2]), U("0СТАРОЕ"));
        QCOMPARE(progress.log, L({"busy on", "begin", "step 1/3", "end", "busy off"}));
        QCOMPARE(view.calls, L({"refill"}));
    }

    void clicheWriteWithSilentDevice() {
        SwitchOff(*device);
        {
            ScriptedDialogs dialogs;
            RecordingProgress progress;
            dialogs.answerYes(8);
            RecordingView view;
            WriteItems(ClicheTransfer(config, 0), view);
            QCOMPARE(dialogs.shown.size(), 8 + 1);
            QCOMPARE(dialogs.shown[1].item, U("клише 1, строка 2"));
            QCOMPARE(dialogs.shown[0].text,
                     U("Не удалось записать параметр... ") + NoAnswer() + U("\n Продолжить?"));
            QVERIFY(progress.log.contains(QStringLiteral("step 8/8")));
        }
        device->clearLog();
        ScriptedDialogs dialogs;
        dialogs.answerNo();
        RecordingView view;
        WriteItems(ClicheTransfer(config, 0), view);
        QCOMPARE(dialogs.shown.size(), 1 + 1);  // the question, the summary
        QCOMPARE(device->log().size(), 1);
    }

    // The access follows the device's answers, refusals included, and a
    // refused item is not offered again.
    void accessFollowsTheAnswerOfAWrite() {
        for (auto& op : config.operators) SetPassword(op, "1234");
        device->setAccess(0, 4, false);
        RecordingView view;
        ScriptedDialogs dialogs;
        WriteItem(OperatorsTransfer(config), 3, view);
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(IsError(dialogs.shown[0]));
        QVERIFY(dialogs.shown[0].text.startsWith(U("Не удалось записать параметр... ")));
        QCOMPARE(int(config.operators[3].access), 0);
        QCOMPARE(view.calls, L({"access 3"}));
        dialogs.clear();
        device->clearLog();
        WriteItem(OperatorsTransfer(config), 3, view);
        QCOMPARE(dialogs.texts(), QStringList({U("Параметр недоступен для изменения...")}));
        QVERIFY(device->log().isEmpty());
    }

    // The password's failure lead has no trailing space.
    void operatorPasswordWriteFailureLead() {
        SetPassword(config.operators[0], "1234");
        LosingLink link({3});
        ScriptedDialogs dialogs;
        RecordingView view;
        WriteItem(OperatorsTransfer(config), 0, view);
        QCOMPARE(dialogs.texts(),
                 QStringList({U("Не удалось записать параметр... ") + NoAnswer()}));
    }

    void clearAsksThenSkipsItemsWithoutAccess() {
        config.services[2].access = 0;
        RecordingView view;
        {
            // "Нет", the default, empties nothing.
            ScriptedDialogs refusing;
            refusing.answerNo();
            ClearItems(ThreeLineTransfer(config, GroupService), view);
            QCOMPARE(refusing.texts(), QStringList({ClearPageQuestion()}));
            QVERIFY(refusing.shown[0].defaultNo);
            QCOMPARE(Stored(config.services[1].lines[1]), U("0СТАРОЕ"));
            QVERIFY(view.calls.isEmpty());
        }
        {
            ScriptedDialogs agreeing;
            agreeing.answerYes();
            ClearItems(ThreeLineTransfer(config, GroupService), view);
        }
        QCOMPARE(Stored(config.services[2].lines[1]), U("0СТАРОЕ"));
        QCOMPARE(Stored(config.services[1].lines[1]), QString());
        QCOMPARE(int(config.services[1].access), 1);
        QCOMPARE(view.calls.size(), 7);
        ScriptedDialogs dialogs;
        WriteItems(ThreeLineTransfer(config, GroupService), view);
        QCOMPARE(device->log().size(), 21);
        QCOMPARE(device->parameter(2, 2, 2), QByteArray(25, '\0'));
    }

    // A factory number that does not convert stops the read before anything
    // is emptied.
    void unconvertibleFactoryNumberKeepsEverything() {
        CurrentPortSettings().MachineNumber = "12x";
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        RecordingView view;
        QVERIFY_THROWS_EXCEPTION(ConversionError, ReadItems(OperatorsTransfer(config), view));
        QVERIFY_THROWS_EXCEPTION(ConversionError, ReadDocumentName(config, nullptr));
        QCOMPARE(Stored(config.operators[0].position), U("0СТАРОЕ"));
        QCOMPARE(Stored(config.documentName), U("0СТАРОЕ"));
        QVERIFY(view.calls.isEmpty());
        QVERIFY(device->log().isEmpty());
        QVERIFY(!progress.busyNow);
    }

    void documentName() {
        SetStored(config.documentName, "1ЧЕК");
        ScriptedDialogs dialogs;
        WriteDocumentName(config);
        QCOMPARE(Requests(*device).value(0),
                 ParameterRequest(ModeWrite, 1, 1, 1, DeviceLine("1ЧЕК")));
        SwitchOff(*device);
        bool refilled = false;
        ReadDocumentName(config, [&] { refilled = true; });
        QVERIFY(!refilled);
        QCOMPARE(Stored(config.documentName), U("1ЧЕК"));  // the failed read leaves it
        QCOMPARE(dialogs.texts().last(), U("Не удалось прочитать параметр... ") + NoAnswer());
    }
};

QTEST_GUILESS_MAIN(TestPageTransfer)
#include "tst_pagetransfer.moc"
