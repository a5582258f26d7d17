// What of the configuration is the user's unsent work: kept from the device
// item by item as reads and writes succeed, never from one that failed, and
// the question a read asks before it would replace such work.
#include <QtTest>

#include "config/ConfigurationDiff.h"
#include "config/ConfigurationSync.h"
#include "config/ConfigurationTransfer.h"
#include "config/DeviceConfiguration.h"
#include "device/ParameterGroups.h"
#include "forms/FormTransfer.h"
#include "image/WholeConfigurationTransfer.h"
#include "support/RecordingProgress.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDevice.h"
#include "wizard/PageTransfer.h"

namespace {

const ConfigurationItem FirstName{ConfigurationItemKind::OperatorLine, 1, OperatorNameLine};
const ConfigurationItem FirstPosition{ConfigurationItemKind::OperatorLine, 1, OperatorPositionLine};

// A device error on the next `count` requests to a parameter record.
void RefuseRecord(DeviceEmulator& device, int group, int index) {
    Fault fault;
    fault.kind = FaultKind::DeviceError;
    fault.value = 52;
    fault.group = group;
    fault.index = index;
    fault.count = 1;
    QVERIFY(device.addFault(fault));
}

class NoView : public PageView {
public:
    void clearCells(int, int) override {}
    void refill() override {}
    void showAccess(int) override {}
};

}  // namespace

class TestConfigurationSync : public QObject {
    Q_OBJECT

    DeviceConfiguration config;
    ConfigurationSync& sync = ProgramConfigurationSync();
    DeviceEmulator* device = nullptr;

private slots:
    void init() {
        device = &UseEmulator();
        MarkConfiguration(config);
        sync.keepAll(config);
    }
    void cleanup() { sync.stopTracking(); }

    // Nothing is unsent until a window keeps the configuration; an edit is, and
    // stops being once it is undone; a line's flag alone is no text.
    void editsAreUnsentUntilUndone() {
        sync.stopTracking();
        SetStored(config.operators[0].name, "0НОВОЕ");
        QVERIFY(sync.unsentItems(config).isEmpty());

        sync.keepAll(config);
        QVERIFY(sync.unsentItems(config).isEmpty());
        SetStored(config.operators[0].name, "0ДРУГОЕ");
        SetStored(config.operators[2].position, "0ДРУГОЕ");
        SetPassword(config.operators[3], "1234");
        config.forms[2].variant = 4;
        QCOMPARE(sync.unsentText(config),
                 U("оператор 1, Ф.И.О.; оператор 3, должность; оператор 4, пароль; форма 3"));
        SetStored(config.operators[0].name, "0НОВОЕ");
        SetStored(config.operators[2].position, "0СТАРОЕ");
        QCOMPARE(sync.unsentItems(config).size(), 2);

        SetStored(config.documentName, "");
        sync.keepAll(config);
        SetStored(config.documentName, "1");
        QVERIFY(sync.unsentItems(config).isEmpty());
        for (int service = 0; service < ServiceCount; ++service)
            SetStored(config.services[service].lines[0], "0ИНАЧЕ");
        QCOMPARE(sync.unsentText(config),
                 U("услуга 1, строка 1; услуга 2, строка 1; услуга 3, строка 1; "
                   "услуга 4, строка 1; услуга 5, строка 1 и ещё 3"));
    }

    // A download keeps every item it read; one whose read failed and was passed
    // over still holds the user's edit, and that edit stays unsent.
    void aFailedReadLeavesTheEditUnsent() {
        SetStored(config.operators[0].position, "0МОЯ ПРАВКА");
        SetStored(config.services[4].lines[1], "0ТОЖЕ ПРАВКА");
        device->setParameter(2, 5, 2, DeviceLine("0ИЗ АС"));
        RefuseRecord(*device, 0, 1);
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        dialogs.answerYes();
        DownloadConfiguration(config);
        QCOMPARE(Stored(config.operators[0].position), U("0МОЯ ПРАВКА"));
        QCOMPARE(Stored(config.services[4].lines[1]), U("0ИЗ АС"));
        QCOMPARE(sync.unsentItems(config), QVector<ConfigurationItem>({FirstPosition}));
    }

    // An upload keeps what it wrote; a line the device refused stays unsent.
    void aFailedWriteLeavesTheLineUnsent() {
        SetStored(config.operators[0].position, "0КАССИР");
        SetPassword(config.operators[0], "1");
        SetStored(config.services[1].lines[0], "0СТРИЖКА");
        RefuseRecord(*device, 2, 2);
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        dialogs.answerYes();
        UploadConfiguration(config);
        QCOMPARE(sync.unsentItems(config),
                 QVector<ConfigurationItem>({{ConfigurationItemKind::ServiceLine, 2, 1}}));
    }

    // A read for the comparison goes into a copy: it tells what the device
    // holds, so a program line typed the same as the device's is not unsent.
    void theComparisonsReadTellsWhatTheDeviceHolds() {
        SetStored(config.operators[0].name, "0ИВАНОВ");
        device->setParameter(0, 1, 2, DeviceLine("0ИВАНОВ"));
        device->setParameter(0, 1, 1, DeviceLine("0КАССИР"));
        DeviceConfiguration copy = config;
        UnreadItems unread;
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        QVERIFY(ReadConfigurationForComparison(copy, unread));
        QVERIFY(!sync.unsentItems(config).contains(FirstName));
        // The program still has the old position, which the device does not hold.
        QVERIFY(sync.unsentItems(config).contains(FirstPosition));
    }

    // A page's read over unsent lines asks first, naming them; "Нет" sends
    // nothing and leaves the lines; lines the device already holds read on.
    void aPageReadAsksBeforeReplacingUnsentLines() {
        SetStored(config.operators[1].name, "0ПЕТРОВ");
        NoView view;
        {
            ScriptedDialogs dialogs;
            dialogs.answerNo();
            ReadItems(OperatorsTransfer(config), view);
            QCOMPARE(dialogs.texts(),
                     QStringList({U("Изменения не записаны в АС: оператор 2, Ф.И.О.\n"
                                    "Прочитать данные из АС поверх них?")}));
            QVERIFY(dialogs.shown[0].defaultNo);
            QVERIFY(device->log().isEmpty());
            QCOMPARE(Stored(config.operators[1].name), U("0ПЕТРОВ"));
        }
        {
            // Another operator holds nothing unsent: no question.
            ScriptedDialogs dialogs;
            ReadItem(OperatorsTransfer(config), 0, view);
            QCOMPARE(dialogs.unexpectedQuestions, 0);
            QVERIFY(!device->log().isEmpty());
        }
        {
            ScriptedDialogs dialogs;
            dialogs.answerYes();
            SetStored(config.documentName, "0МОЙ ЧЕК");
            ReadDocumentName(config, nullptr);
            QCOMPARE(dialogs.texts().first(), U("Изменения не записаны в АС: название ДСО.\n"
                                                "Прочитать данные из АС поверх них?"));
            QVERIFY(!sync.unsentItems(config).contains(
                ConfigurationItem{ConfigurationItemKind::DocumentName, 1, 1}));
        }
    }

    // A form read and a form programmed are kept as the device has them.
    void formsAreKeptAsTheyWentAndCame() {
        config.forms[2].variant = 5;
        QCOMPARE(sync.unsentText(config), U("форма 3"));
        QVERIFY(ProgramForm(config, 3).ok());
        QVERIFY(sync.unsentItems(config).isEmpty());
        config.forms[2].variant = 1;
        QVERIFY(ReadForm(config, 3).ok());
        QCOMPARE(int(config.forms[2].variant), 5);
        QVERIFY(sync.unsentItems(config).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestConfigurationSync)
#include "tst_sync.moc"
