// The connection settings dialog opens on the values in force, and before the
// first "Применить" of a run on those applied in an earlier run; nothing is
// applied by itself. The store is a file of the test's own.
#include <QComboBox>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "device/ConnectionSettingsStore.h"
#include "device/PortNames.h"
#include "device/ui/ConnectionSettingsDialog.h"
#include "emulator/EmulatorLink.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDevice.h"

namespace {

QStringList Fields(const ConnectionSettingsDialog& dialog) {
    return {dialog.chosenPortName(), dialog.speedCombo->currentText(),
            dialog.machineNumberEdit->text(), dialog.byteTimeoutEdit->text(),
            dialog.totalTimeoutEdit->text()};
}

}  // namespace

class TestConnectionSettings : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString storePath() const { return dir_.filePath(QStringLiteral("zelvo.ini")); }
    void useStore() {
        SetConnectionSettingsStore(std::make_unique<QSettings>(storePath(), QSettings::IniFormat));
    }

private slots:
    void initTestCase() { RegisterInProcessEmulator(); }
    void init() {
        QFile::remove(storePath());
        CurrentPortSettings() = PortSettings{};
        useStore();
    }
    void cleanup() { SetConnectionSettingsStore(nullptr); }

    void firstRunOpensOnTheDefaults() {
        ConnectionSettingsDialog dialog;
        QCOMPARE(Fields(dialog),
                 (QStringList{U("COM1"), U("115200"), U("0"), U("250"), U("2500")}));
        QVERIFY(!CurrentPortSettings().Applied);
    }

    // Changing one value keeps the port chosen before: the emulator stays.
    void reopensOnTheValuesInForce() {
        ScriptedDialogs dialogs;
        {
            ConnectionSettingsDialog dialog;
            dialog.portCombo->setCurrentIndex(dialog.portCombo->findData(EmulatorPortName()));
            dialog.speedCombo->setCurrentText(U("19200"));
            dialog.machineNumberEdit->setText(U("123"));
            dialog.byteTimeoutEdit->setText(U("40"));
            dialog.totalTimeoutEdit->setText(U("900"));
            dialog.applyClicked();
        }
        ConnectionSettingsDialog dialog;
        QCOMPARE(Fields(dialog),
                 (QStringList{EmulatorPortName(), U("19200"), U("123"), U("40"), U("900")}));
        dialog.totalTimeoutEdit->setText(U("1000"));
        dialog.applyClicked();
        QCOMPARE(CurrentPortSettings().PortName, EmulatorPortName());
        QCOMPARE(CurrentPortSettings().BaudRate, 19200);
        QCOMPARE(CurrentPortSettings().TotalTimeout, 1000);

        // "Отмена" leaves the values in force as they were, and so does the next opening.
        ConnectionSettingsDialog cancelled;
        cancelled.speedCombo->setCurrentText(U("2400"));
        cancelled.cancelClicked();
        ConnectionSettingsDialog again;
        QCOMPARE(Fields(again),
                 (QStringList{EmulatorPortName(), U("19200"), U("123"), U("40"), U("1000")}));
    }

    // A new run (no values in force yet) offers what was applied last time,
    // a port no longer in the list included, and applies nothing by itself.
    void nextRunOffersWhatWasAppliedLast() {
        ScriptedDialogs dialogs;
        {
            ConnectionSettingsDialog dialog;
            dialog.portCombo->addItem(U("/dev/ttyUSB9"), U("/dev/ttyUSB9"));
            dialog.portCombo->setCurrentIndex(dialog.portCombo->count() - 1);
            dialog.speedCombo->setCurrentText(U("9600"));
            dialog.machineNumberEdit->setText(U("77"));
            dialog.applyClicked();
        }
        SetConnectionSettingsStore(nullptr);  // the program ends
        CurrentPortSettings() = PortSettings{};
        useStore();
        const std::optional<ConnectionFields> stored = StoredConnectionFields();
        QVERIFY(stored);
        QCOMPARE(stored->port, U("/dev/ttyUSB9"));
        QVERIFY(!CurrentPortSettings().Applied);
        QVERIFY(CurrentPortSettings().PortName.isEmpty());

        ConnectionSettingsDialog dialog;
        QCOMPARE(Fields(dialog),
                 (QStringList{U("/dev/ttyUSB9"), U("9600"), U("77"), U("250"), U("2500")}));
        QVERIFY(!CurrentPortSettings().Applied);
    }

    // Without a store (the command line, other tests) nothing is kept.
    void withoutAStoreNothingIsKept() {
        ScriptedDialogs dialogs;
        SetConnectionSettingsStore(nullptr);
        {
            ConnectionSettingsDialog dialog;
            dialog.speedCombo->setCurrentText(U("9600"));
            dialog.applyClicked();
        }
        QVERIFY(!QFile::exists(storePath()));
        QVERIFY(!StoredConnectionFields());
    }
};

QTEST_MAIN(TestConnectionSettings)
#include "tst_connectionsettings.moc"
