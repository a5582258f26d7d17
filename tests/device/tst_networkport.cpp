// A port on the network is typed into the settings dialog's port field: it is
// applied as typed, kept for the next run and offered again; an item picked
// from the list still stands for its port's name, not its description.
#include <QComboBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "device/ConnectionSettingsStore.h"
#include "device/PortNames.h"
#include "device/ui/ConnectionSettingsDialog.h"
#include "support/ScriptedDialogs.h"

class TestNetworkPort : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    void useStore() {
        SetConnectionSettingsStore(std::make_unique<QSettings>(
            dir_.filePath(QStringLiteral("zelvo.ini")), QSettings::IniFormat));
    }

private slots:
    void init() {
        QFile::remove(dir_.filePath(QStringLiteral("zelvo.ini")));
        CurrentPortSettings() = PortSettings{};
        useStore();
    }
    void cleanup() { SetConnectionSettingsStore(nullptr); }

    void typedNetworkPortIsAppliedAndKept() {
        ScriptedDialogs dialogs;
        const QString name = QStringLiteral("rfc2217://192.168.0.40:4001");
        {
            ConnectionSettingsDialog dialog;
            QVERIFY(dialog.portCombo->isEditable());
            dialog.portCombo->setEditText(QStringLiteral("  ") + name);
            QCOMPARE(dialog.chosenPortName(), name);
            dialog.applyClicked();
        }
        QCOMPARE(CurrentPortSettings().PortName, name);
        SetConnectionSettingsStore(nullptr);  // the program ends
        CurrentPortSettings() = PortSettings{};
        useStore();
        ConnectionSettingsDialog next;
        QCOMPARE(next.chosenPortName(), name);
        QCOMPARE(next.portCombo->currentText(), name);
    }

    // Typing an item's text, or picking an item after typing, is that item.
    void listItemsStillStandForTheirNames() {
        ConnectionSettingsDialog dialog;
        dialog.portCombo->addItem(QStringLiteral("/dev/ttyUSB7 — USB-Serial Controller"),
                                  QStringLiteral("/dev/ttyUSB7"));
        const int item = dialog.portCombo->count() - 1;
        dialog.portCombo->setEditText(QStringLiteral("tcp://10.0.0.1:2000"));
        dialog.portCombo->setCurrentIndex(item);
        QCOMPARE(dialog.chosenPortName(), QStringLiteral("/dev/ttyUSB7"));
        dialog.portCombo->setEditText(QStringLiteral("tcp://10.0.0.1:2000"));
        QCOMPARE(dialog.chosenPortName(), QStringLiteral("tcp://10.0.0.1:2000"));
        dialog.portCombo->setEditText(QStringLiteral("/dev/ttyUSB7 — USB-Serial Controller"));
        QCOMPARE(dialog.chosenPortName(), QStringLiteral("/dev/ttyUSB7"));
        dialog.portCombo->setEditText(EmulatorPortName());
        QCOMPARE(dialog.chosenPortName(), EmulatorPortName());
    }
};

QTEST_MAIN(TestNetworkPort)
#include "tst_networkport.moc"
