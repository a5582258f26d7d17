// The connection settings dialog's "Найти АС": the button, its progress with
// "Стоп", the result in the port and speed lists and the message, against
// zelvo-sim on a pseudo-terminal.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QtTest>

#include "device/PortNames.h"
#include "device/Protocol.h"
#include "device/ui/ConnectionSettingsDialog.h"
#include "emulator/EmulatorLink.h"
#include "support/ScriptedDialogs.h"
#include "support/SimProcess.h"

namespace {

QPushButton* Button(QWidget* parent, const QString& text) {
    for (auto* b : parent->findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

}  // namespace

class TestSettingsDialog : public QObject {
    Q_OBJECT

    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<ConnectionSettingsDialog> dialog;
    std::unique_ptr<ScriptedDialogs> dialogs;

    void findWith(const QString& machineNumber) {
        dialog->machineNumberEdit->setText(machineNumber);
        QPushButton* find = Button(dialog.get(), QStringLiteral("Найти АС"));
        QVERIFY(find);
        find->click();
    }

private slots:
    void initTestCase() {
        RegisterInProcessEmulator();
        sim = std::make_unique<SimProcess>(
            QStringList{QStringLiteral("--factory"), QStringLiteral("123")});
        QVERIFY2(sim->isReady(), qPrintable(sim->errorString()));
    }
    void init() {
        QVERIFY(sim->command(QStringLiteral("clear-faults")));
        QVERIFY(sim->command(QStringLiteral("listen 0")));
        QVERIFY(sim->command(QStringLiteral("log off")));
        CurrentPortSettings() = PortSettings{};
        dialogs = std::make_unique<ScriptedDialogs>();
        dialog = std::make_unique<ConnectionSettingsDialog>();
        QVERIFY(!dialog->searchPorts.contains(EmulatorPortName()));
        dialog->searchPorts = {sim->portPath()};
        // The selected port is asked too: the emulator's entry is never asked.
        dialog->portCombo->setCurrentIndex(dialog->portCombo->findData(EmulatorPortName()));
        dialog->show();
    }
    void cleanup() {
        dialog.reset();
        dialogs.reset();
    }

    void foundAtASlowerSpeed() {
        QVERIFY(sim->command(QStringLiteral("listen 19200")));
        findWith(QStringLiteral("123"));
        QCOMPARE(dialog->chosenPortName(), sim->portPath());
        QCOMPARE(dialog->speedCombo->currentText(), QStringLiteral("19200"));
        QCOMPARE(dialogs->shown.size(), 1);
        QCOMPARE(dialogs->shown[0].caption, CaptionProgram());
        QCOMPARE(dialogs->shown[0].text,
                 QStringLiteral("АС найден: порт %1, скорость 19200.\nЗаводской номер 123 верен."
                                "\nОпрошены порты: %1."
                                "\nПорт и скорость выбраны; нажмите «Применить».")
                     .arg(sim->portPath()));
        // Nothing is applied until the user presses "Применить".
        QVERIFY(!CurrentPortSettings().Applied);
        QVERIFY(dialog->isVisible());
        dialog->applyClicked();
        QCOMPARE(CurrentPortSettings().PortName, sim->portPath());
        QCOMPARE(CurrentPortSettings().BaudRate, 19200);
    }

    void wrongFactoryNumber() {
        findWith(QStringLiteral("9"));
        QCOMPARE(dialog->chosenPortName(), sim->portPath());
        QCOMPARE(dialogs->shown.size(), 1);
        QVERIFY(IsWarning(dialogs->shown[0]));
        QVERIFY(dialogs->shown[0].text.contains(
            QStringLiteral("Заводской номер 9 неверен: Не совпал заводской номер.")));
    }

    void nothingAnswers() {
        QVERIFY(sim->command(QStringLiteral("fault silent")));
        dialog->speedCombo->setCurrentText(QStringLiteral("4800"));
        findWith(QStringLiteral("123"));
        QCOMPARE(dialog->chosenPortName(), EmulatorPortName());
        QCOMPARE(dialog->speedCombo->currentText(), QStringLiteral("4800"));
        QCOMPARE(dialogs->shown.size(), 1);
        QVERIFY(IsError(dialogs->shown[0]));
        QCOMPARE(dialogs->shown[0].text,
                 QStringLiteral("АС не найден: ни один порт не ответил на запрос состояния ни на "
                                "одной скорости.\nОпрошены порты: %1.")
                     .arg(sim->portPath()));
    }

    void stopButton() {
        QVERIFY(sim->command(QStringLiteral("fault silent")));
        bool clicked = false;
        QTimer::singleShot(350, [&] {
            auto* progress = dialog->findChild<QProgressDialog*>();
            QVERIFY(progress);
            QCOMPARE(progress->windowTitle(), QStringLiteral("Найти АС"));
            QVERIFY(progress->labelText().startsWith(QStringLiteral("Поиск АС: порт ")));
            QPushButton* stop = Button(progress, QStringLiteral("Стоп"));
            QVERIFY(stop);
            stop->click();
            clicked = true;
        });
        QVERIFY(sim->command(QStringLiteral("log on")));
        sim->clearLog();
        findWith(QStringLiteral("123"));
        QVERIFY(clicked);
        // The search ends after the query in flight instead of asking all seven speeds.
        QVERIFY(sim->waitForExchanges(1));
        QVERIFY(sim->requests().size() < 7);
        QVERIFY(dialogs->shown.isEmpty());
        QCOMPARE(dialog->chosenPortName(), EmulatorPortName());
    }

    // A port the system does not list (a network driver's COM port) is asked
    // when the user selected it, and no other port besides.
    void selectedPortIsAskedThoughTheSystemDoesNotListIt() {
        dialog->searchPorts.clear();
        dialog->portCombo->addItem(sim->portPath(), sim->portPath());
        dialog->portCombo->setCurrentIndex(dialog->portCombo->count() - 1);
        findWith(QStringLiteral("123"));
        QCOMPARE(dialogs->shown.size(), 1);
        QCOMPARE(dialogs->shown[0].text,
                 QStringLiteral("АС найден: порт %1, скорость 115200.\nЗаводской номер 123 верен."
                                "\nОпрошены порты: %1."
                                "\nПорт и скорость выбраны; нажмите «Применить».")
                     .arg(sim->portPath()));
    }

    // The list a newcomer opens: the ports the system has, described, then
    // the emulator, then the COM names nothing is known of.
    void portListPutsTheSystemsPortsFirst() {
        const QList<PortEntry> entries = AvailablePorts();
        int emulator = -1;
        for (int i = 0; i < entries.size(); ++i)
            if (entries.at(i).name == EmulatorPortName()) emulator = i;
        QVERIFY(emulator >= 0);
        for (int i = 0; i < entries.size(); ++i) {
            QCOMPARE(dialog->portCombo->itemData(i).toString(), entries.at(i).name);
            QCOMPARE(dialog->portCombo->itemText(i), PortEntryText(entries.at(i)));
            QCOMPARE(entries.at(i).listed, i < emulator);
        }
    }

    void storesThePortNameNotItsDescription() {
        dialog->portCombo->addItem(QStringLiteral("/dev/ttyUSB7 — USB-Serial Controller"),
                                   QStringLiteral("/dev/ttyUSB7"));
        dialog->portCombo->setCurrentIndex(dialog->portCombo->count() - 1);
        dialog->applyClicked();
        QCOMPARE(CurrentPortSettings().PortName, QStringLiteral("/dev/ttyUSB7"));
    }
};

QTEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
