// The main window as a user meets it: enabling before and after a probe, the
// connection settings dialog, the status bar, progress and page switching.
#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWindow>
#include <QtTest>
#include <stdexcept>
#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#endif

#include "admin/ui/StatePage.h"
#include "app/AboutDialog.h"
#include "app/MainWindow.h"
#include "app/SplashWindow.h"
#include "device/ConnectionSettings.h"
#include "device/ConnectionSettingsStore.h"
#include "device/DeviceLock.h"
#include "device/ExchangeLog.h"
#include "device/PortNames.h"
#include "device/Protocol.h"
#include "device/ui/ConnectionSettingsDialog.h"
#include "device/ui/ExchangeLogWindow.h"
#include "emulator/EmulatorLink.h"
#include "forms/ui/FormConstructorPage.h"
#include "goods/ui/GoodsPage.h"
#include "goods/ui/GoodsSearchBar.h"
#include "shell/ui/Guarded.h"
#include "shell/ui/QtDialogs.h"
#include "shell/ui/StartUpReport.h"
#include "shell/ui/WindowProgress.h"
#include "support/ScriptedDialogs.h"
#include "support/SimProcess.h"

namespace {

// Runs `fill` on the settings dialog once it is on screen, then leaves the
// dialog to whatever `fill` pressed.
void WhenSettingsOpen(const std::function<void(ConnectionSettingsDialog*)>& fill) {
    QTimer::singleShot(0, [fill] {
        auto* dialog = qobject_cast<ConnectionSettingsDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        fill(dialog);
    });
}

void ChoosePort(ConnectionSettingsDialog* dialog, const QString& path) {
    if (dialog->portCombo->findText(path) < 0) dialog->portCombo->addItem(path);
    dialog->portCombo->setCurrentText(path);
}

QPushButton* Button(QWidget* parent, const QString& text) {
    for (auto* b : parent->findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

// Closes every message box as soon as it shows and keeps its parent and text.
class MessageBoxCatcher {
public:
    MessageBoxCatcher() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                parents << box->parentWidget();
                box->done(0);
            }
        });
        timer_.start(10);
    }
    QStringList texts;
    QList<QWidget*> parents;

private:
    QTimer timer_;
};

// A port that opens and never answers: the far end of a pseudo-terminal
// that nobody reads for the device.
struct SilentPort {
    int master = -1;
    QString path;
    SilentPort() {
#ifdef Q_OS_UNIX
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return;
        path = QString::fromLocal8Bit(ptsname(master));
        termios raw{};
        if (tcgetattr(master, &raw) == 0) {
            cfmakeraw(&raw);
            tcsetattr(master, TCSANOW, &raw);
        }
#endif
    }
    ~SilentPort() {
#ifdef Q_OS_UNIX
        if (master >= 0) ::close(master);
#endif
    }
    bool ok() const {
        return !path.isEmpty();
    }
    QByteArray received() const {
        QByteArray bytes;
#ifdef Q_OS_UNIX
        pollfd ready{master, POLLIN, 0};
        char buffer[256];
        while (::poll(&ready, 1, 50) > 0) {
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n <= 0) break;
            bytes.append(buffer, int(n));
        }
#endif
        return bytes;
    }
};

// Types any text, Cyrillic included, as key presses carrying that text.
void Type(QWidget* target, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
    }
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> window;
    QTemporaryDir settingsDir;
    bool checkEndedBeforeStart = false;

    // A new window, as a new run with `kept` stored by the last one.
    void restartWithKept(const ConnectionFields& kept) {
        window.reset();
        SetConnectionSettingsStore(std::make_unique<QSettings>(
            settingsDir.filePath(QStringLiteral("kept.ini")), QSettings::IniFormat));
        StoreConnectionFields(kept);
        window = std::make_unique<MainWindow>();
        QSignalSpy started(window.get(), &MainWindow::started);
        QSignalSpy ended(window.get(), &MainWindow::startCheckFinished);
        window->show();
        QVERIFY(started.wait(5000));
        checkEndedBeforeStart = !ended.isEmpty();
        SetConnectionSettingsStore(nullptr);
    }

    bool deviceControlsEnabled() const {
        return window->actConstructorMenu->isEnabled() && window->actGoods->isEnabled() &&
               window->actAdminMenu->isEnabled() && window->toolWizard->isEnabled() &&
               window->toolGoods->isEnabled();
    }
    bool deviceControlsDisabled() const {
        return !window->actConstructorMenu->isEnabled() && !window->actGoods->isEnabled() &&
               !window->actAdminMenu->isEnabled() && !window->toolWizard->isEnabled() &&
               !window->toolGoods->isEnabled();
    }

private slots:
    void init() {
        MainWindow::setSplashEnabled(false);
        window = std::make_unique<MainWindow>();
        QSignalSpy started(window.get(), &MainWindow::started);
        window->show();
        QVERIFY(started.wait(5000));
    }
    void cleanup() {
        window.reset();
        SetConnectionSettingsStore(nullptr);
    }

    void startsUnconnected() {
        QVERIFY(deviceControlsDisabled());
        QVERIFY(!window->actReports->isEnabled());
        QVERIFY(!window->toolReports->isEnabled());
        QVERIFY(window->actSettings->isEnabled());
        QVERIFY(window->actAbout->isEnabled());
        QVERIFY(window->toolSettings->isEnabled());
        QVERIFY(!window->actSaveFile->isEnabled());
        QCOMPARE(window->portPanel->text(), QStringLiteral("Порт:"));
        QCOMPARE(window->speedPanel->text(), QStringLiteral("Скорость:"));
        QCOMPARE(window->toolWizard->toolTip(), QStringLiteral("Конструктор-\"Помощник\""));
        QCOMPARE(window->actWizard->text(), QStringLiteral("\"&Помощник\""));
        QCOMPARE(window->actReports->toolTip(), QStringLiteral("Отсеты"));
        QVERIFY(!CurrentPortSettings().Applied);
        QCOMPARE(CurrentPortSettings().MachineNumber, QByteArray("0"));
        QVERIFY(window->currentPage() == nullptr);
        // The empty page says in one line what to do first.
        QVERIFY(window->startHint->isVisible());
        QCOMPARE(window->startHint->text(),
                 QStringLiteral("Откройте «Настройки подключения» и выберите порт АС или "
                                "«Эмулятор АС» для работы без АС."));
        QVERIFY(window->startHint->sizeHint().width() <= window->centralWidget()->width());
        QCOMPARE(window->startHint->text().count(QLatin1Char('\n')), 0);
    }

    void probeThatSucceedsThenOneThatFails() {
        SimProcess sim;
        QVERIFY2(sim.isReady(), qPrintable(sim.errorString()));
        ScriptedDialogs dialogs;
        WhenSettingsOpen([&](ConnectionSettingsDialog* d) {
            ChoosePort(d, sim.portPath());
            d->speedCombo->setCurrentText(QStringLiteral("9600"));
            d->machineNumberEdit->setText(QStringLiteral("12345"));
            d->applyClicked();
        });
        window->actSettings->trigger();
        QVERIFY(dialogs.shown.isEmpty());
        QVERIFY(deviceControlsEnabled());
        QVERIFY(!window->actReports->isEnabled());
        QVERIFY(!window->toolReports->isEnabled());
        QCOMPARE(window->portPanel->text(), QStringLiteral("Порт: ") + sim.portPath());
        QCOMPARE(window->speedPanel->text(), QStringLiteral("Скорость: 9600"));
        QCOMPARE(CurrentPortSettings().MachineNumber, QByteArray("12345"));
        // The empty page now says where to go next.
        QVERIFY(window->startHint->isVisible());
        QCOMPARE(window->startHint->text(),
                 QStringLiteral("Выберите действие в меню «Конструктор», «База товаров» или "
                                "«Администрирование»."));

        WhenSettingsOpen([&](ConnectionSettingsDialog* d) {
            ChoosePort(d, QStringLiteral("/nonexistent/ttyZ9"));
            d->applyClicked();
        });
        window->actSettings->trigger();
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(IsError(dialogs.shown[0]));
        QCOMPARE(dialogs.shown[0].text,
                 QStringLiteral("Не удалось открыть порт...\n"
                                "Порт /nonexistent/ttyZ9 в системе не найден."));
        QVERIFY(deviceControlsDisabled());
        QCOMPARE(window->portPanel->text(), QStringLiteral("Порт: "));
        QCOMPARE(window->speedPanel->text(), QStringLiteral("Скорость: "));
        QCOMPARE(CurrentPortSettings().PortName, QStringLiteral("/nonexistent/ttyZ9"));
        QVERIFY(window->startHint->isVisible());
    }

    void exchangeLogOpensFromTheMenuAndTheSettingsDialog() {
        ExchangeLogWindow logWindow(ProgramExchangeLog());
        SharedExchangeLogWindow = &logWindow;
        QVERIFY(window->actAdminMenu->menu()->actions().contains(window->actExchangeLog));
        // The window's width is fixed: the menu bar keeps every item in sight.
        const QMenuBar* bar = window->menuBar();
        const QRect last = bar->actionGeometry(window->actAbout);
        QVERIFY(last.isValid() && last.right() < bar->width());
        window->actExchangeLog->trigger();
        QVERIFY(logWindow.isVisible());
        QVERIFY(!logWindow.isModal());
        window->actExchangeLog->trigger();
        int logWindows = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            logWindows += qobject_cast<ExchangeLogWindow*>(w) != nullptr;
        QCOMPARE(logWindows, 1);

        // A window that a modal dialog blocks is told so.
        struct BlockWatch : QObject {
            bool blocked = false;
            bool eventFilter(QObject*, QEvent* event) override {
                if (event->type() == QEvent::WindowBlocked) blocked = true;
                if (event->type() == QEvent::WindowUnblocked) blocked = false;
                return false;
            }
        } watch;
        logWindow.windowHandle()->installEventFilter(&watch);
        logWindow.hide();
        bool usableBesideTheDialog = false;
        WhenSettingsOpen([&](ConnectionSettingsDialog* d) {
            QCOMPARE(d->exchangeLogButton->text(), QStringLiteral("Журнал обмена"));
            d->exchangeLogButton->click();
            usableBesideTheDialog = logWindow.isVisible() && !watch.blocked;
            d->cancelClicked();
        });
        window->actSettings->trigger();
        SharedExchangeLogWindow = nullptr;
        QVERIFY(usableBesideTheDialog);
    }

    void cancelKeepsTheEarlierState() {
        SimProcess sim;
        QVERIFY(sim.isReady());
        ScriptedDialogs dialogs;
        WhenSettingsOpen([&](ConnectionSettingsDialog* d) {
            ChoosePort(d, sim.portPath());
            d->byteTimeoutEdit->setText(QStringLiteral("100"));
            d->applyClicked();
        });
        window->actSettings->trigger();
        QVERIFY(deviceControlsEnabled());
        WhenSettingsOpen([&](ConnectionSettingsDialog* d) {
            // Every opening shows the values in force.
            QCOMPARE(d->chosenPortName(), sim.portPath());
            QCOMPARE(d->speedCombo->currentText(), QStringLiteral("115200"));
            QCOMPARE(d->machineNumberEdit->text(), QStringLiteral("0"));
            QCOMPARE(d->byteTimeoutEdit->text(), QStringLiteral("100"));
            QCOMPARE(d->totalTimeoutEdit->text(), QStringLiteral("2500"));
            QCOMPARE(d->windowTitle(), QStringLiteral("Настройки подключения...."));
            QTest::mouseClick(Button(d, QStringLiteral("Отмена")), Qt::LeftButton);
        });
        window->actSettings->trigger();
        QVERIFY(deviceControlsEnabled());
        QVERIFY(!CurrentPortSettings().Applied);
        QCOMPARE(CurrentPortSettings().ByteTimeout, 100);
        QCOMPARE(CurrentPortSettings().PortName, sim.portPath());
        QCOMPARE(window->portPanel->text(), QStringLiteral("Порт: ") + sim.portPath());
        QVERIFY(dialogs.shown.isEmpty());
    }

    void emptyFieldsGetTheirDefaults() {
        ScriptedDialogs dialogs;
        QString byteField, totalField, machineField;
        WhenSettingsOpen([&](ConnectionSettingsDialog* d) {
            ChoosePort(d, QStringLiteral("/nonexistent/ttyZ8"));
            d->machineNumberEdit->clear();
            d->byteTimeoutEdit->clear();
            d->totalTimeoutEdit->clear();
            d->applyClicked();
            byteField = d->byteTimeoutEdit->text();
            totalField = d->totalTimeoutEdit->text();
            machineField = d->machineNumberEdit->text();
        });
        window->actSettings->trigger();
        QCOMPARE(byteField, QStringLiteral("250"));
        QCOMPARE(totalField, QStringLiteral("2500"));
        QCOMPARE(machineField, QStringLiteral("0"));
        QCOMPARE(CurrentPortSettings().ByteTimeout, 250);
        QCOMPARE(CurrentPortSettings().TotalTimeout, 2500);
        QCOMPARE(CurrentPortSettings().MachineNumber, QByteArray("0"));
    }

    void keyFilterAndBadNumbers() {
        ScriptedDialogs dialogs;
        bool stillOpen = false;
        QString afterTyping;
        WhenSettingsOpen([&](ConnectionSettingsDialog* d) {
            d->byteTimeoutEdit->clear();
            Type(d->byteTimeoutEdit, QStringLiteral("1a2Ж%'"));
            afterTyping = d->byteTimeoutEdit->text();
            d->totalTimeoutEdit->setText(QStringLiteral("2147483648"));
            QTest::mouseClick(Button(d, QStringLiteral("Применить")), Qt::LeftButton);
            stillOpen = d->isVisible();
            QTest::mouseClick(Button(d, QStringLiteral("Отмена")), Qt::LeftButton);
        });
        window->actSettings->trigger();
        QCOMPARE(afterTyping, QStringLiteral("12%'"));
        QVERIFY(stillOpen);
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(IsError(dialogs.shown[0]));
        QVERIFY(dialogs.shown[0].text.contains(QStringLiteral("12%'")));
        QVERIFY(deviceControlsDisabled());
    }

    // With the emulator, every write succeeds with no device attached: the
    // title and the status bar say so; a real port takes both back.
    void emulatorIsNamedInTheTitleAndTheStatusBar() {
        RegisterInProcessEmulator();
        ScriptedDialogs dialogs;
        WhenSettingsOpen([](ConnectionSettingsDialog* d) {
            QVERIFY(d->portCombo->findText(EmulatorPortName()) >= 0);
            d->portCombo->setCurrentText(EmulatorPortName());
            d->applyClicked();
        });
        window->actSettings->trigger();
        QVERIFY(dialogs.shown.isEmpty());
        QVERIFY(deviceControlsEnabled());
        QVERIFY2(window->windowTitle().contains(QStringLiteral("Эмулятор АС")),
                 qPrintable(window->windowTitle()));
        QVERIFY(window->portPanel->isVisible());
        QVERIFY(window->portPanel->text().contains(QStringLiteral("Эмулятор АС")));
        QTRY_VERIFY(window->portPanel->width() >= window->portPanel->sizeHint().width());

        SimProcess sim;
        QVERIFY2(sim.isReady(), qPrintable(sim.errorString()));
        WhenSettingsOpen([&](ConnectionSettingsDialog* d) {
            ChoosePort(d, sim.portPath());
            d->applyClicked();
        });
        window->actSettings->trigger();
        QCOMPARE(window->windowTitle(), QStringLiteral("Zelvo"));
        QVERIFY(!window->portPanel->text().contains(QStringLiteral("Эмулятор АС")));
    }

    // A port that opens but where nothing answers is reported, and the
    // status bar does not show it as connected.
    void silentPortIsReportedOnApply() {
#ifndef Q_OS_UNIX
        QSKIP("a pseudo-terminal stands for the silent port");
#endif
        SilentPort silent;
        QVERIFY(silent.ok());
        ScriptedDialogs dialogs;
        WhenSettingsOpen([&](ConnectionSettingsDialog* d) {
            ChoosePort(d, silent.path);
            d->totalTimeoutEdit->setText(QStringLiteral("200"));
            d->applyClicked();
        });
        window->actSettings->trigger();
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY2(dialogs.shown[0].text.startsWith(
                     QStringLiteral("АС на порту %1 не отвечает.").arg(silent.path)),
                 qPrintable(dialogs.shown[0].text));
        QCOMPARE(window->portPanel->text(), QStringLiteral("Порт %1: нет ответа").arg(silent.path));
        // The state query went out: the probe is more than an open.
        QVERIFY(silent.received().size() > 0);
    }

    // The state page shows nothing of a device asked over another connection.
    void newConnectionClearsTheStatePage() {
        RegisterInProcessEmulator();
        window->statePage()->InnEdit->setText(QStringLiteral("7707083893"));
        ScriptedDialogs dialogs;
        WhenSettingsOpen([](ConnectionSettingsDialog* d) {
            d->portCombo->setCurrentText(EmulatorPortName());
            d->applyClicked();
        });
        window->actSettings->trigger();
        QVERIFY(deviceControlsEnabled());
        for (QLineEdit* field : window->statePage()->fields()) QVERIFY(field->text().isEmpty());
    }

    // Settings kept from the last run are applied at start without a box:
    // the window shows before the check ends, and a silent port leaves the
    // device menus closed with the status bar and the hint saying why.
    void keptSettingsAreCheckedQuietlyAtStart() {
#ifndef Q_OS_UNIX
        QSKIP("a pseudo-terminal stands for the silent port");
#endif
        SilentPort silent;
        QVERIFY(silent.ok());
        ConnectionFields fields;
        fields.port = silent.path;
        fields.totalTimeout = QStringLiteral("300");
        ScriptedDialogs dialogs;
        restartWithKept(fields);
        QVERIFY(!checkEndedBeforeStart);
        QSignalSpy ended(window.get(), &MainWindow::startCheckFinished);
        QVERIFY(ended.wait(5000));
        QVERIFY(dialogs.shown.isEmpty());
        QVERIFY(deviceControlsDisabled());
        QVERIFY(!CurrentPortSettings().Applied);
        QCOMPARE(window->portPanel->text(), QStringLiteral("Порт %1: нет ответа").arg(silent.path));
        QVERIFY(window->startHint->isVisible());
        QVERIFY2(window->startHint->text().startsWith(
                     QStringLiteral("АС на порту %1 не отвечает.").arg(silent.path)),
                 qPrintable(window->startHint->text()));

        // A port that does not open is said so the same quiet way.
        fields.port = QStringLiteral("/nonexistent/ttyZ7");
        restartWithKept(fields);
        if (!checkEndedBeforeStart) {
            QSignalSpy again(window.get(), &MainWindow::startCheckFinished);
            QVERIFY(again.wait(5000));
        }
        QVERIFY(dialogs.shown.isEmpty());
        QCOMPARE(window->portPanel->text(),
                 QStringLiteral("Порт /nonexistent/ttyZ7: не открывается"));
        QVERIFY(deviceControlsDisabled());
    }

    void keptSettingsThatAnswerOpenTheMenus() {
        RegisterInProcessEmulator();
        ConnectionFields fields;
        fields.port = EmulatorPortName();
        ScriptedDialogs dialogs;
        restartWithKept(fields);
        QVERIFY(dialogs.shown.isEmpty());
        QVERIFY(deviceControlsEnabled());
        QVERIFY(CurrentPortSettings().Applied);
        QVERIFY(window->portPanel->text().contains(EmulatorPortName()));
        QVERIFY(window->startHint->text().startsWith(QStringLiteral("Выберите действие")));

        // A settings dialog opened now offers what is in force.
        WhenSettingsOpen([](ConnectionSettingsDialog* d) {
            QCOMPARE(d->chosenPortName(), EmulatorPortName());
            d->cancelClicked();
        });
        window->actSettings->trigger();
    }

    // Letters for Alt, shortcuts shown in the menus, the texts otherwise as
    // they were; Ctrl+F reaches the goods search, F5 nothing while closed.
    void menusTakeTheKeyboard() {
        QMenuBar* bar = window->menuBar();
        QSet<QChar> letters;
        for (QAction* a : bar->actions()) {
            const int mark = a->text().indexOf(QLatin1Char('&'));
            QVERIFY2(mark >= 0, qPrintable(a->text()));
            const QChar letter = a->text().at(mark + 1).toLower();
            QVERIFY2(!letters.contains(letter), qPrintable(a->text()));
            letters.insert(letter);
        }
        QCOMPARE(window->actLoadFile->text().remove(QLatin1Char('&')),
                 QStringLiteral("Выгрузить из файла"));
        QCOMPARE(window->actSettings->toolTip(), QStringLiteral("Настройки подключения"));
        QCOMPARE(window->actLoadFile->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
        QCOMPARE(window->actSaveFile->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
        QCOMPARE(window->actDownload->shortcut(), QKeySequence(QStringLiteral("F5")));
        QCOMPARE(window->actGoodsSearch->shortcut(), QKeySequence(QStringLiteral("Ctrl+F")));
        QSet<QChar> inMenu;
        for (QAction* a : window->actConstructorMenu->menu()->actions()) {
            if (a->isSeparator()) continue;
            const int mark = a->text().indexOf(QLatin1Char('&'));
            QVERIFY2(mark >= 0, qPrintable(a->text()));
            QVERIFY2(!inMenu.contains(a->text().at(mark + 1).toLower()), qPrintable(a->text()));
            inMenu.insert(a->text().at(mark + 1).toLower());
        }

        // Closed menus: their shortcuts do nothing either.
        ScriptedDialogs dialogs;
        const int exchanges = ProgramExchangeLog().size();
        window->actDownload->trigger();
        QVERIFY(dialogs.shown.isEmpty());
        QCOMPARE(ProgramExchangeLog().size(), exchanges);

        RegisterInProcessEmulator();
        WhenSettingsOpen([](ConnectionSettingsDialog* d) {
            d->portCombo->setCurrentText(EmulatorPortName());
            d->applyClicked();
        });
        window->actSettings->trigger();
        QVERIFY(deviceControlsEnabled());
        window->activateWindow();
        window->actGoodsSearch->trigger();
        QCOMPARE(window->currentPage(), static_cast<QWidget*>(window->goodsPage()));
        QVERIFY(window->goodsPage()->searchBar->field->hasFocus() ||
                QApplication::focusWidget() == window->goodsPage()->searchBar->field);
    }

    // The progress bar shows whole inside its status-bar panel.
    void progressBarIsNotClipped() {
        window->ProgressBegin();
        QProgressBar* bar = window->progressBar();
        QWidget* panel = bar->parentWidget();
        QStatusBar* status = window->statusBar();
        QVERIFY2(panel->rect().contains(bar->geometry()),
                 qPrintable(QStringLiteral("bar %1 high at %2 in a panel %3 high")
                                .arg(bar->height())
                                .arg(bar->y())
                                .arg(panel->height())));
        QVERIFY(status->rect().contains(panel->geometry()));
        QCOMPARE(bar->height(), panel->height());
        QVERIFY(bar->height() >= status->height() - 6);
        window->ProgressEnd();
    }

    void progressArithmetic() {
        window->ProgressBegin();
        window->ProgressStep(3, 24);
        QCOMPARE(window->progressBar()->value(), 12);
        window->ProgressStep(1001, 1001);
        QCOMPARE(window->progressBar()->value(), 100);
        window->ProgressEnd();
        QCOMPARE(window->progressBar()->value(), 0);
        QVERIFY(window->progressBar()->isHidden());
        window->ProgressBegin();
        QVERIFY(!window->progressBar()->isHidden());
    }

    void pageSwitching() {
        window->EnableDeviceControls(true);
        window->actGoods->trigger();
        QVERIFY(window->goodsPage()->isVisible());
        window->actState->trigger();
        QVERIFY(!window->goodsPage()->isVisible());
        QVERIFY(window->statePage()->isVisible());
        QCOMPARE(window->currentPage(), static_cast<QWidget*>(window->statePage()));
        window->ShowMainPage(nullptr);
        QVERIFY(!window->statePage()->isVisible());
        QVERIFY(window->currentPage() == nullptr);
    }

    void staysOpenWhileAnExchangeRuns() {
        ScriptedDialogs dialogs;
        {
            DeviceLock running;
            QVERIFY(!window->close());
            QVERIFY(window->isVisible());
            QCOMPARE(dialogs.shown.size(), 1);
            QVERIFY(IsWarning(dialogs.shown[0]));
        }
        QVERIFY(window->close());
    }

    void noWizardOrInnDialogWhileAnExchangeRuns() {
        ScriptedDialogs dialogs;
        window->EnableDeviceControls(true);
        int opened = 0;
        // Should a window open after all, close it so that the test fails instead of hanging.
        QTimer guard;
        QObject::connect(&guard, &QTimer::timeout, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ++opened;
                modal->close();
            }
        });
        guard.start(50);
        DeviceLock running;
        window->actWizard->trigger();
        window->actInn->trigger();
        window->actServices->trigger();
        QCOMPARE(opened, 0);
        QCOMPARE(dialogs.shown.size(), 3);
        for (const auto& shown : dialogs.shown) QVERIFY(IsWarning(shown));
    }

    // A failure that ends a transfer: its indicators come down, and the next
    // transfer's busy cursor still goes up and down with it.
    void failedTransferKeepsTheBusyCursorInStep() {
        ScriptedDialogs dialogs;
        WindowProgress progress(window.get(), nullptr);
        SetProgress(&progress);
        QPushButton button;
        QObject::connect(&button, &QPushButton::clicked, Guarded([] {
            CurrentProgress().begin();
            CurrentProgress().setBusyCursor(true);
            throw std::runtime_error("line lost");
        }));
        button.click();
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("line lost")});
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(window->progressBar()->isHidden());

        progress.setBusyCursor(true);
        const bool busyShown = QApplication::overrideCursor() &&
                               QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        progress.setBusyCursor(false);
        const bool busyGone = !QApplication::overrideCursor();
        SetProgress(nullptr);
        while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
        QVERIFY(busyShown);
        QVERIFY(busyGone);
    }

    // While another program is the active one, a message box still belongs to
    // the main window.
    void messageBoxWhileTheProgramIsInactive() {
        QWindow elsewhere;  // not one of the program's widgets
        elsewhere.show();
        elsewhere.requestActivate();
        QTRY_VERIFY(!QApplication::activeWindow());
        QtDialogs boxes(window.get());
        MessageBoxCatcher catcher;
        boxes.error(QStringLiteral("Записано с ошибками"));
        QCOMPARE(catcher.texts, QStringList{QStringLiteral("Записано с ошибками")});
        QCOMPARE(catcher.parents, QList<QWidget*>{window.get()});
    }

    // Start-up fails before any window can report it: the report comes for a
    // standard exception and for anything else thrown as well.
    void startUpFailureOfAnyKindIsReported() {
        MessageBoxCatcher catcher;
        QCOMPARE(RunReportingStartUpFailure([]() -> int { throw std::runtime_error("no room"); }),
                 1);
        QCOMPARE(RunReportingStartUpFailure([]() -> int { throw 42; }), 1);
        QCOMPARE(RunReportingStartUpFailure([] { return 0; }), 0);
        QCOMPARE(catcher.texts, QStringList({QStringLiteral("no room"),
                                             QStringLiteral("Непредвиденная ошибка.")}));
        QCOMPARE(catcher.parents, QList<QWidget*>({nullptr, nullptr}));
    }

    void exceptionInAHandlerIsReportedAndSurvived() {
        ScriptedDialogs dialogs;
        QPushButton button;
        int after = 0;
        QObject::connect(&button, &QPushButton::clicked, Guarded([] {
            CurrentPortSettings().MachineNumber = "99999999999";
            MachineNumberValue(CurrentPortSettings().MachineNumber);
        }));
        QObject::connect(&button, &QPushButton::clicked, [&] { ++after; });
        button.click();
        button.click();
        QCOMPARE(after, 2);
        QCOMPARE(dialogs.shown.size(), 2);
        QVERIFY(IsError(dialogs.shown[0]));
        QVERIFY(dialogs.shown[0].text.contains(QStringLiteral("99999999999")));
    }
};

class TestSplash : public QObject {
    Q_OBJECT
private slots:
    void splashFirstThenPages() {
        MainWindow::setSplashEnabled(true);
        MainWindow window;
        QSignalSpy started(&window, &MainWindow::started);
        QElapsedTimer clock;
        clock.start();
        window.show();
        QVERIFY(window.goodsPage() == nullptr);
        QVERIFY(started.wait(5000));
        const qint64 elapsed = clock.elapsed();
        QVERIFY2(elapsed >= 1400 && elapsed < 3000, QByteArray::number(elapsed).constData());
        QVERIFY(window.goodsPage() != nullptr);
        QVERIFY(window.constructorPage()->isHidden());
    }

    // Esc and a close request do not end the splash before its time.
    void splashStaysItsWholeTime() {
        MainWindow::setSplashEnabled(true);
        MainWindow window;
        QSignalSpy started(&window, &MainWindow::started);
        int tries = 0;
        QTimer poke;
        QObject::connect(&poke, &QTimer::timeout, [&] {
            if (auto* splash = qobject_cast<SplashWindow*>(QApplication::activeModalWidget())) {
                QTest::keyClick(splash, Qt::Key_Escape);
                splash->close();
                ++tries;
            }
        });
        QElapsedTimer clock;
        clock.start();
        poke.start(50);
        window.show();
        QVERIFY(started.wait(5000));
        const qint64 elapsed = clock.elapsed();
        QVERIFY(tries > 3);
        QVERIFY2(elapsed >= 1400, QByteArray::number(elapsed).constData());
    }
};

// The version is set once in the build: the about box shows it as the file
// version it always showed, and zelvo-sim reports the same one (on Windows,
// where the simulator is the Linux one, zelvo-cli.exe of the same build).
class TestVersion : public QObject {
    Q_OBJECT
private slots:
    void aboutBoxAndSimulatorShowOneVersion() {
        AboutDialog about;
        QCOMPARE(about.VersionValue->text(), QStringLiteral("1.0.0.48"));
#ifdef Q_OS_WIN
        const QString program = QStringLiteral(ZELVO_CLI_PATH);
        const QByteArray expected("zelvo-cli 1.0.0.48");
#else
        const QString program = QStringLiteral(ZELVO_SIM_PATH);
        const QByteArray expected("zelvo-sim 1.0.0.48");
#endif
        QProcess sim;
        sim.start(program, {QStringLiteral("--version")});
        QVERIFY(sim.waitForFinished(10000));
        QCOMPARE(sim.exitCode(), 0);
        QCOMPARE(sim.readAllStandardOutput().trimmed(), expected);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TestMainWindow main;
    TestSplash splash;
    TestVersion version;
    return QTest::qExec(&main, argc, argv) | QTest::qExec(&splash, argc, argv) |
           QTest::qExec(&version, argc, argv);
}
#include "tst_mainwindow.moc"
