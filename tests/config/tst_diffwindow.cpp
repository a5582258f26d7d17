// "Сравнить с АС" in the main window against the in-process device: the menu
// entry, the window of differences, and what its buttons do.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>
#include <cstring>
#include <functional>

#include "app/MainWindow.h"
#include "config/UploadQuestions.h"
#include "emulator/Requests.h"
#include "image/ui/ConfigurationDiffWindow.h"
#include "support/RecordingProgress.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDevice.h"

namespace {

// Runs `act` on the differences window once it is on screen.
void WhenWindowShows(const std::function<void(ConfigurationDiffWindow*)>& act) {
    QTimer::singleShot(0, [act] {
        if (auto* window =
                qobject_cast<ConfigurationDiffWindow*>(QApplication::activeModalWidget()))
            act(window);
    });
}

QStringList Column(const QTableWidget* table, int column) {
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row) texts << table->item(row, column)->text();
    return texts;
}

QList<QByteArray> Requests(const DeviceEmulator& device) {
    QList<QByteArray> list;
    for (const auto& exchange : device.log()) list << exchange.request;
    return list;
}

}  // namespace

class TestDiffWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> window;
    DeviceEmulator* device = nullptr;

private slots:
    void init() {
        MainWindow::setSplashEnabled(false);
        window = std::make_unique<MainWindow>();
        QSignalSpy started(window.get(), &MainWindow::started);
        window->show();
        QVERIFY(started.wait(5000));
        device = &UseEmulator();
        // The device has the program's configuration but for two items.
        DeviceConfiguration& program = CurrentConfiguration();
        SetStored(program.documentName, "0КВИТАНЦИЯ");  // as a fresh device has it
        device->setParameter(0, 2, 3, "55");
        SetPassword(program.operators[1], "55");
        device->setParameter(2, 5, 2, DeviceLine("0СТРИЖКА"));
        SetStored(program.operators[1].name, "0ИВАНОВ");
    }
    void cleanup() { window.reset(); }

    void entryFollowsTheUpload() {
        const QList<QAction*> actions = window->actConstructorMenu->menu()->actions();
        const int upload = int(actions.indexOf(window->actUpload));
        QVERIFY(upload >= 0);
        QCOMPARE(actions.value(upload + 1), window->actCompare);
        QCOMPARE(window->actCompare->text(), U("&Сравнить с АС"));
    }

    void showsTheDifferencesAndWritesOnlyThem() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        const DeviceConfiguration before = CurrentConfiguration();
        QStringList items, onDevice, inProgram;
        WhenWindowShows([&](ConfigurationDiffWindow* shown) {
            items = Column(shown->table, 0);
            onDevice = Column(shown->table, 1);
            inProgram = Column(shown->table, 2);
            QVERIFY(!shown->skippedLabel);
            device->clearLog();
            dialogs.answerYes();
            shown->writeButton->click();
        });
        window->actCompare->trigger();
        QCOMPARE(items, L({"оператор 2, Ф.И.О.", "услуга 5, строка 2"}));
        QCOMPARE(onDevice, L({"", "СТРИЖКА"}));
        QCOMPARE(inProgram, L({"ИВАНОВ", ""}));
        QCOMPARE(Requests(*device),
                 (QList<QByteArray>{ParameterRequest(ModeWrite, 0, 2, 2, DeviceLine("0ИВАНОВ")),
                                    ParameterRequest(ModeWrite, 2, 5, 2)}));
        // The write asked first, naming how many items it writes, "Нет" by default.
        QCOMPARE(dialogs.texts(),
                 (QStringList{DifferencesUploadQuestion(2), U("Записано удачно...")}));
        QVERIFY(dialogs.shown[0].defaultNo);
        QVERIFY(std::memcmp(&before, &CurrentConfiguration(), sizeof before) == 0);
    }

    // A difference the upload would pass over is marked before the click and
    // is not written. The device's lock decides, not the program's copy of it.
    void saysWhatTheUploadPassesOver() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        device->setAccess(2, 5, false);
        QString said;
        QString tip;
        WhenWindowShows([&](ConfigurationDiffWindow* shown) {
            if (shown->skippedLabel) said = shown->skippedLabel->text();
            tip = shown->table->item(1, 2)->toolTip();
            device->clearLog();
            dialogs.answerYes();
            shown->writeButton->click();
        });
        window->actCompare->trigger();
        QCOMPARE(said, U("Не будут записаны в АС: услуга 5, строка 2 (изменение запрещено в АС)."));
        QCOMPARE(tip, U("Не будет записан в АС: изменение запрещено в АС"));
        QCOMPARE(Requests(*device),
                 (QList<QByteArray>{ParameterRequest(ModeWrite, 0, 2, 2, DeviceLine("0ИВАНОВ"))}));

        // Where it would pass over every difference, there is nothing to write.
        bool writable = true;
        WhenWindowShows([&](ConfigurationDiffWindow* shown) {
            writable = shown->writeButton->isEnabled();
            shown->closeButton->click();
        });
        window->actCompare->trigger();
        QVERIFY(!writable);
    }

    void takesTheDevicesValuesAfterAsking() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        dialogs.answerYes();
        WhenWindowShows([](ConfigurationDiffWindow* shown) { shown->takeButton->click(); });
        window->actCompare->trigger();
        QCOMPARE(dialogs.unexpectedQuestions, 0);
        QVERIFY(IsConfirmation(dialogs.shown.value(0)));
        DeviceConfiguration& program = CurrentConfiguration();
        QCOMPARE(Stored(program.operators[1].name), QString());
        QCOMPARE(Stored(program.services[4].lines[1]), U("0СТРИЖКА"));
        QCOMPARE(QByteArray(program.operators[1].password), QByteArray("55"));
        QVERIFY(window->actSaveFile->isEnabled());

        // Now nothing differs: said so, and no window.
        dialogs.clear();
        bool windowShown = false;
        WhenWindowShows([&](ConfigurationDiffWindow* shown) {
            windowShown = true;
            shown->reject();
        });
        window->actCompare->trigger();
        QVERIFY(!windowShown);
        QCOMPARE(dialogs.texts(), L({"Конфигурация совпадает с АС..."}));
        QVERIFY(IsWarning(dialogs.shown.value(0)));
    }

    // A line whose read failed is shown as not read, counted apart, and left
    // alone by "Взять из АС", which takes the differences beside it.
    void anUnreadLineIsShownAndNeverTaken() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        device->setParameter(2, 5, 1, DeviceLine("0ПРОДАЖА"));
        SetStored(CurrentConfiguration().services[4].lines[0], "0УКЛАДКА");
        Fault fault;
        fault.kind = FaultKind::DeviceError;
        fault.value = 52;
        fault.command = CmdParameter;
        fault.group = 2;
        fault.index = 5;
        fault.count = 1;
        QVERIFY(device->addFault(fault));
        dialogs.answerYes(2);  // past the failed line, then taking the values
        QStringList items, onDevice;
        QString summary;
        WhenWindowShows([&](ConfigurationDiffWindow* shown) {
            items = Column(shown->table, 0);
            onDevice = Column(shown->table, 1);
            summary = shown->summaryLabel->text();
            shown->takeButton->click();
        });
        window->actCompare->trigger();
        QCOMPARE(dialogs.unexpectedQuestions, 0);
        QCOMPARE(items, L({"оператор 2, Ф.И.О.", "услуга 5, строка 1", "услуга 5, строка 2"}));
        QCOMPARE(onDevice, L({"", "не прочитано", "СТРИЖКА"}));
        QCOMPARE(summary, U("Отличается элементов: 2\nНе прочитано из АС элементов: 1; что в "
                            "них хранит АС, неизвестно."));
        const DeviceConfiguration& program = CurrentConfiguration();
        QCOMPARE(Stored(program.services[4].lines[0]), U("0УКЛАДКА"));
        QCOMPARE(Stored(program.services[4].lines[1]), U("0СТРИЖКА"));
        QCOMPARE(Stored(program.operators[1].name), QString());
    }

    // "No" to taking the values, or "Закрыть", changes nothing anywhere.
    void closingChangesNothing() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        const DeviceConfiguration before = CurrentConfiguration();
        dialogs.answerNo();
        WhenWindowShows([](ConfigurationDiffWindow* shown) { shown->takeButton->click(); });
        window->actCompare->trigger();
        WhenWindowShows([&](ConfigurationDiffWindow* shown) {
            device->clearLog();
            shown->closeButton->click();
        });
        window->actCompare->trigger();
        QVERIFY(device->log().isEmpty());
        QVERIFY(std::memcmp(&before, &CurrentConfiguration(), sizeof before) == 0);
    }
};

QTEST_MAIN(TestDiffWindow)
#include "tst_diffwindow.moc"
