#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "admin/ui/InnDialog.h"
#include "admin/ui/StatePage.h"
#include "app/AboutDialog.h"
#include "app/PageArea.h"
#include "app/SplashWindow.h"
#include "app/WindowGeometry.h"
#include "config/ConfigurationFile.h"
#include "config/ConfigurationTransfer.h"
#include "config/DeviceConfiguration.h"
#include "config/UploadQuestions.h"
#include "config/ui/ConfigurationDiffWindow.h"
#include "device/ConnectionSettings.h"
#include "device/ConnectionSettingsStore.h"
#include "device/ExchangeLog.h"
#include "device/PortCheck.h"
#include "device/PortNames.h"
#include "device/Protocol.h"
#include "device/ui/ConnectionSettingsDialog.h"
#include "device/ui/ExchangeLogWindow.h"
#include "forms/ui/FormConstructorPage.h"
#include "goods/GoodsTable.h"
#include "goods/ui/GoodsPage.h"
#include "goods/ui/GoodsSearchBar.h"
#include "image/ui/ImageWindow.h"
#include "shell/DeviceOperation.h"
#include "shell/Progress.h"
#include "shell/UnsentWork.h"
#include "shell/UserDialogs.h"
#include "shell/ui/FileDialogs.h"
#include "shell/ui/Guarded.h"
#include "shell/ui/Icons.h"
#include "wizard/ui/WizardWindow.h"

namespace {

QString FirstStepHint() {
    return QStringLiteral(
               "Откройте «Настройки подключения» и выберите порт АС или «%1» для "
               "работы без АС.")
        .arg(EmulatorPortName());
}

QString NextStepHint() {
    return QStringLiteral(
        "Выберите действие в меню «Конструктор», «База товаров» или "
        "«Администрирование».");
}

QString SilentPortHint(const QString& portName, const PortCheck& check) {
    const QString what = check.result == PortCheck::Result::NotOpened
                             ? QStringLiteral("Порт %1 не открывается").arg(portName)
                             : QStringLiteral("АС на порту %1 не отвечает").arg(portName);
    return what + QStringLiteral(
                      ". Проверьте кабель и питание АС, затем откройте «Настройки "
                      "подключения» и нажмите «Применить» или «Найти АС».");
}

bool g_splashEnabled = true;
bool g_geometryKept = false;
constexpr int ClientWidth = 742;
constexpr int ClientHeight = 504;
constexpr int ToolBarHeight = 30;
constexpr int StatusBarHeight = 19;
const QString ConfigurationFilter = QStringLiteral("Конфигурация (*.cfg)");
const QString ProgramTitle = QStringLiteral("Zelvo");
}  // namespace

namespace {
void LogPortCheck(PortCheck& check) {
    if (!check.asked) return;
    ExchangeLog& log = ProgramExchangeLog();
    if (log.recording()) log.append(std::move(check.record));
    check.asked = false;
}
}  // namespace

void MainWindow::setSplashEnabled(bool enabled) {
    g_splashEnabled = enabled;
}

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(ProgramTitle);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);

    PortSettings& settings = CurrentPortSettings();
    settings.Applied = false;
    settings.PortName.clear();
    settings.MachineNumber = QByteArrayLiteral("0");
    ResetFormTable(CurrentConfiguration());
    ResetConfiguration(CurrentConfiguration());

    buildMenus();
    buildToolBar();
    content_ =
        new PageArea(QSize(ClientWidth, ClientHeight - ToolBarHeight - StatusBarHeight), this);
    content_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setCentralWidget(content_);
    startHint = new QLabel(FirstStepHint(), content_);
    startHint->setAlignment(Qt::AlignCenter);
    startHint->setWordWrap(true);
    (new QVBoxLayout(content_))->addWidget(startHint);
    buildStatusBar();
    EnableDeviceControls(false);

    // The first size is the smallest: at it every page is laid out as it always was.
    const int frameExtra = menuBar()->sizeHint().height();
    setMinimumSize(ClientWidth, ClientHeight + frameExtra);
    resize(minimumSize());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    if (g_geometryKept) RestoreWindowGeometry(this);
}

QFrame* MainWindow::contentPanel() const {
    return content_;
}

void MainWindow::setGeometryKept(bool kept) {
    g_geometryKept = kept;
}

void MainWindow::hideEvent(QHideEvent* event) {
    if (g_geometryKept) SaveWindowGeometry(this);
    QMainWindow::hideEvent(event);
}

MainWindow::~MainWindow() {
    if (startCheck_) startCheck_->wait();
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    // The tool tip is the text without its accelerator mark.
    auto tip = [](QAction* a) { a->setToolTip(a->iconText()); };

    actSettings = bar->addAction(QStringLiteral("&Настройки подключения"));
    tip(actSettings);
    connect(actSettings, &QAction::triggered, this, Guarded([this] { openSettings(); }));

    QMenu* constructor = bar->addMenu(QStringLiteral("&Конструктор"));
    constructor->setToolTipsVisible(true);
    actConstructorMenu = constructor->menuAction();
    tip(actConstructorMenu);
    actWizard = constructor->addAction(QStringLiteral("\"&Помощник\""));
    connect(actWizard, &QAction::triggered, this, Guarded([this] { openWizard(0, false); }));
    constructor->addSeparator();
    actLoadFile = constructor->addAction(QStringLiteral("Выгрузить из &файла"));
    actSaveFile = constructor->addAction(QStringLiteral("&Загрузить в файл"));
    actSaveFile->setEnabled(false);
    actDownload = constructor->addAction(QStringLiteral("&Выгрузить из ВАЛДЕ ВК-12"));
    actUpload = constructor->addAction(QStringLiteral("З&агрузить в ВАЛДЕ ВК-12"));
    connect(actUpload, &QAction::triggered, this, Guarded([this] { uploadConfiguration(); }));
    actCompare = constructor->addAction(QStringLiteral("&Сравнить с АС"));
    connect(actCompare, &QAction::triggered, this, Guarded([this] { compareWithDevice(); }));
    constructor->addSeparator();
    const QStringList singlePages = {QStringLiteral("&Данные операторов"),
                                     QStringLiteral("&Название ДСО"), QStringLiteral("&Услуги"),
                                     QStringLiteral("Дополнительные &реквизиты"),
                                     QStringLiteral("&Клише")};
    QAction** singleActions[] = {&actOperators, &actDocumentName, &actServices, &actRequisites,
                                 &actCliche};
    for (int i = 0; i < singlePages.size(); ++i) {
        QAction* a = constructor->addAction(singlePages[i]);
        *singleActions[i] = a;
        connect(a, &QAction::triggered, this, Guarded([this, i] { openWizard(i + 1, true); }));
    }
    constructor->addSeparator();
    actForms = constructor->addAction(QStringLiteral("Ф&ормы БСО"));
    connect(actForms, &QAction::triggered, this, Guarded([this] { showForms(); }));

    actGoods = bar->addAction(QStringLiteral("&База товаров"));
    tip(actGoods);
    connect(actGoods, &QAction::triggered, this, Guarded([this] { ShowMainPage(goodsPage_); }));

    QMenu* admin = bar->addMenu(QStringLiteral("&Администрирование"));
    admin->setToolTipsVisible(true);
    actAdminMenu = admin->menuAction();
    actInn = admin->addAction(QStringLiteral("&Программирование ИНН"));
    tip(actInn);
    connect(actInn, &QAction::triggered, this, Guarded([this] { programInn(); }));
    actState = admin->addAction(QStringLiteral("&Запрос состояния"));
    tip(actState);
    connect(actState, &QAction::triggered, this, Guarded([this] { ShowMainPage(statePage_); }));
    admin->addSeparator();
    QAction* saveImage = admin->addAction(QStringLiteral("Сохранить всё из АС в файл..."));
    connect(saveImage, &QAction::triggered, this, Guarded([this] { SaveDeviceImageAsked(this); }));
    QAction* writeImage = admin->addAction(QStringLiteral("Записать всё из файла в АС..."));
    connect(writeImage, &QAction::triggered, this,
            Guarded([this] { WriteDeviceImageAsked(this); }));
    // The menu bar has no room for another item at the window's fixed width; while no
    // port is open the settings dialog's button opens the log.
    admin->addSeparator();
    actExchangeLog = admin->addAction(QStringLiteral("&Журнал обмена"));
    tip(actExchangeLog);
    connect(actExchangeLog, &QAction::triggered, this, Guarded([] { ShowExchangeLogWindow(); }));

    actReports = bar->addAction(QStringLiteral("О&тчеты"));
    actReports->setToolTip(QStringLiteral("Отсеты"));
    actReports->setEnabled(false);

    actAbout = bar->addAction(QStringLiteral("&О программе"));
    connect(actAbout, &QAction::triggered, this, Guarded([this] { showAbout(); }));

    addShortcuts();
}

void MainWindow::addShortcuts() {
    actLoadFile->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    actSaveFile->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    actDownload->setShortcut(QKeySequence(Qt::Key_F5));
    // A shortcut reaches its action even while the menu that holds it is
    // closed to the user; these stay with the menu.
    auto whileMenuOpen = [this](void (MainWindow::*step)()) {
        return Guarded([this, step] {
            if (actConstructorMenu->isEnabled()) (this->*step)();
        });
    };
    connect(actLoadFile, &QAction::triggered, this, whileMenuOpen(&MainWindow::loadFromFile));
    connect(actSaveFile, &QAction::triggered, this, whileMenuOpen(&MainWindow::saveToFile));
    connect(actDownload, &QAction::triggered, this,
            whileMenuOpen(&MainWindow::downloadConfiguration));

    // The goods page has no menu of its own: its search is a window shortcut.
    actGoodsSearch = new QAction(QStringLiteral("Поиск"), this);
    actGoodsSearch->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    actGoodsSearch->setShortcutContext(Qt::WindowShortcut);
    addAction(actGoodsSearch);
    connect(actGoodsSearch, &QAction::triggered, this, Guarded([this] { focusGoodsSearch(); }));

    // F10 enters the menu bar as Alt does, where the style does not do it itself.
    actMenuBarKey = new QAction(this);
    actMenuBarKey->setShortcut(QKeySequence(Qt::Key_F10));
    actMenuBarKey->setShortcutContext(Qt::WindowShortcut);
    addAction(actMenuBarKey);
    connect(actMenuBarKey, &QAction::triggered, this, [this] { enterMenuBar(); });
}

void MainWindow::focusGoodsSearch() {
    if (!goodsPage_ || !actGoods->isEnabled()) return;
    if (currentPage_ != goodsPage_) ShowMainPage(goodsPage_);
    QLineEdit* field = goodsPage_->searchBar->field;
    field->setFocus(Qt::ShortcutFocusReason);
    field->selectAll();
}

void MainWindow::enterMenuBar() {
    QMenuBar* bar = menuBar();
    for (QAction* a : bar->actions()) {
        if (!a->isVisible() || !a->isEnabled() || a->isSeparator()) continue;
        bar->setFocus(Qt::MenuBarFocusReason);
        // Alt pressed and released alone puts the bar into its keyboard mode:
        // the arrows move along it and Enter opens the item.
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
        QApplication::sendEvent(bar, &press);
        QApplication::sendEvent(bar, &release);
        if (!bar->activeAction()) bar->setActiveAction(a);
        return;
    }
}

void MainWindow::buildToolBar() {
    QToolBar* tools = addToolBar(QStringLiteral("tools"));
    tools->setMovable(false);
    tools->setFloatable(false);
    tools->setFixedHeight(ToolBarHeight);
    tools->setIconSize(QSize(16, 16));
    tools->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    auto add = [tools](ToolIcon icon, const QString& hint) {
        auto* button = new QToolButton(tools);
        button->setIcon(DrawToolIcon(icon));
        button->setToolTip(hint);
        button->setFixedSize(25, 24);
        button->setAutoRaise(true);
        tools->addWidget(button);
        return button;
    };
    tools->addSeparator();
    toolSettings = add(ToolIcon::Settings, QStringLiteral("Настройки подключения"));
    connect(toolSettings, &QToolButton::clicked, this, Guarded([this] { openSettings(); }));
    tools->addSeparator();
    toolWizard = add(ToolIcon::Wizard, QStringLiteral("Конструктор-\"Помощник\""));
    connect(toolWizard, &QToolButton::clicked, this, Guarded([this] { openWizard(0, false); }));
    tools->addSeparator();
    toolGoods = add(ToolIcon::Goods, QStringLiteral("База товаров"));
    connect(toolGoods, &QToolButton::clicked, this, Guarded([this] { ShowMainPage(goodsPage_); }));
    tools->addSeparator();
    toolReports = add(ToolIcon::Reports, QStringLiteral("Отчеты"));
    toolReports->setEnabled(false);
}

void MainWindow::buildStatusBar() {
    QStatusBar* status = statusBar();
    status->setSizeGripEnabled(false);
    status->setFixedHeight(StatusBarHeight);
    status->setContentsMargins(0, 0, 0, 0);
    // The first panel holds the progress bar and gives way when a long port
    // name ("Эмулятор АС", /dev/ttyUSB0) needs more than the usual 80 pixels.
    auto* first = new QWidget(status);
    auto* firstLayout = new QHBoxLayout(first);
    // The bar takes the panel's whole height: the status bar leaves the panel
    // less than its own 19 pixels, and a fixed taller bar was cut off.
    firstLayout->setContentsMargins(0, 0, 0, 0);
    progressBar_ = new QProgressBar(first);
    progressBar_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    progressBar_->setMinimumHeight(0);
    progressBar_->setRange(0, 100);
    progressBar_->setValue(0);
    progressBar_->setTextVisible(false);
    firstLayout->addWidget(progressBar_);
    status->addWidget(first, 1);
    portPanel = new QLabel(QStringLiteral("Порт:"), status);
    portPanel->setMinimumWidth(80);
    portPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    status->addWidget(portPanel);
    speedPanel = new QLabel(QStringLiteral("Скорость:"), status);
    speedPanel->setMinimumWidth(100);
    speedPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    status->addWidget(speedPanel);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (firstShown_) return;
    firstShown_ = true;
    // The splash runs modally once the window is on screen; the pages are
    // created only after it has closed.
    QTimer::singleShot(0, this, [this] {
        if (g_splashEnabled) {
            auto* splash = new SplashWindow(this);
            splash->exec();
            delete splash;
        }
        createPages();
        applyKeptSettings();
        emit started();
    });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (refuseWhileExchanging()) {
        event->ignore();
        return;
    }
    // Each page says what it holds that the device does not; one question for all.
    QStringList unsent;
    if (goodsPage_) unsent << goodsPage_->unsentChanges();
    if (!ConfirmOverUnsentWork(Dialogs(), unsent, StepCloseProgram())) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::createPages() {
    blankPage_ = new QWidget(content_);
    content_->addPage(blankPage_, PageArea::Fit::Grow);
    blankPage_->show();
    constructorPage_ = new FormConstructorPage(content_, this);
    goodsPage_ = new GoodsPage(content_, this);
    statePage_ = new StatePage(content_);
    content_->addPage(constructorPage_, PageArea::Fit::Grow);
    content_->addPage(goodsPage_, PageArea::Fit::Grow);
    content_->addPage(statePage_, PageArea::Fit::Centre);
    for (QWidget* page : {static_cast<QWidget*>(constructorPage_),
                          static_cast<QWidget*>(goodsPage_), static_cast<QWidget*>(statePage_)})
        page->hide();
    constructorPage_->Fill();
    currentPage_ = nullptr;
}

void MainWindow::showFormConstructor() {
    constructorPage_->Fill();
    ShowMainPage(constructorPage_);
}

void MainWindow::ShowMainPage(QWidget* page) {
    if (currentPage_) currentPage_->hide();
    currentPage_ = page;
    startHint->setVisible(!currentPage_);
    QApplication::processEvents();
    if (currentPage_) currentPage_->show();
}

void MainWindow::EnableDeviceControls(bool enable) {
    toolWizard->setEnabled(enable);
    toolGoods->setEnabled(enable);
    actConstructorMenu->setEnabled(enable);
    actGoods->setEnabled(enable);
    actAdminMenu->setEnabled(enable);
    startHint->setText(enable ? NextStepHint() : FirstStepHint());
    startHint->setVisible(!currentPage_);
}

void MainWindow::ProgressBegin() {
    progressBar_->show();
    QApplication::processEvents();
}

void MainWindow::ProgressStep(int done, int total) {
    progressBar_->setValue(ProgressPercent(done, total));
    QApplication::processEvents();
}

void MainWindow::ProgressEnd() {
    progressBar_->setValue(0);
    progressBar_->hide();
    QApplication::processEvents();
}

void MainWindow::EnableSaveToFile() {
    actSaveFile->setEnabled(true);
}

void MainWindow::openSettings() {
    // The check of the kept settings ends first: the dialog's own search and
    // "Применить" use the same port.
    finishStartCheck();
    {
        ConnectionSettingsDialog dialog(this);
        dialog.exec();
        if (dialog.applied()) showPort(true);
    }
    AfterSettingsDialog();
}

void MainWindow::AfterSettingsDialog() {
    QThread::msleep(250);
    PortSettings& settings = CurrentPortSettings();
    if (!settings.Applied) return;
    // Another device may be on the line now: no goods record is known to be in
    // step. The same port, speed and factory number keep what is known.
    if (goodsPage_) goodsPage_->table().followConnection(settings);
    if (statePage_) statePage_->clearFields();
    portPanel->setText(QStringLiteral("Порт %1: проверка...").arg(settings.PortName));
    portPanel->repaint();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    PortCheck check;
    try {
        check = CheckPort(settings);
    } catch (...) {
        QApplication::restoreOverrideCursor();
        throw;
    }
    QApplication::restoreOverrideCursor();
    LogPortCheck(check);
    if (check.result == PortCheck::Result::Answered) {
        showPort(true);
        EnableDeviceControls(true);
        return;
    }
    if (check.result == PortCheck::Result::NotOpened) {
        QString message = QStringLiteral("Не удалось открыть порт...");
        if (!check.openError.isEmpty()) message += QLatin1Char('\n') + check.openError;
        Dialogs().error(message);
        showPort(false);
        EnableDeviceControls(false);
        return;
    }
    // The port opened and nothing answered: the user chose it, so it stays in
    // force for the files and the wizard, but it never passes for a device.
    Dialogs().warning(
        QStringLiteral("АС на порту %1 не отвечает.\nПроверьте кабель, питание АС, скорость и "
                       "заводской номер или найдите АС кнопкой «Найти АС» в настройках "
                       "подключения.")
            .arg(settings.PortName));
    showPort(true);
    portPanel->setText(FailedPortPanelText(settings.PortName, check));
    EnableDeviceControls(true);
}

void MainWindow::applyKeptSettings() {
    const std::optional<ConnectionFields> kept = StoredConnectionFields();
    if (!kept) return;
    ConnectionFields fields = *kept;
    PortSettings& settings = CurrentPortSettings();
    try {
        ApplyConnectionFields(fields, settings);
        // Nothing is sent from a check that cannot build its request.
        (void)MachineNumberValue(settings.MachineNumber);
    } catch (const ConversionError&) {
        CancelConnectionFields(settings);
        return;
    }
    if (goodsPage_) goodsPage_->table().followConnection(settings);
    portPanel->setText(QStringLiteral("Порт %1: проверка...").arg(settings.PortName));
    speedPanel->setText(SpeedPanelText(settings));
    const PortSettings asked = settings;
    if (ServedByRegisteredLink(asked.PortName)) {
        // The program's own link answers at once, in this thread.
        startCheckResult_ = CheckPort(asked);
        startCheckPending_ = true;
        finishStartCheck();
        return;
    }
    // A port with nothing behind it keeps the check for the whole time-out:
    // the window is shown and answers meanwhile.
    startCheckPending_ = true;
    startCheck_ = QThread::create([this, asked] {
        try {
            startCheckResult_ = CheckPort(asked);
        } catch (...) {
            startCheckResult_ = PortCheck{};
        }
    });
    connect(startCheck_, &QThread::finished, this, [this] { finishStartCheck(); });
    connect(startCheck_, &QThread::finished, startCheck_, &QObject::deleteLater);
    startCheck_->start();
}

void MainWindow::finishStartCheck() {
    if (!startCheckPending_) return;
    if (startCheck_) {
        // Also from its own finished signal, which comes just before the thread ends.
        startCheck_->wait();
        startCheck_ = nullptr;
    }
    startCheckPending_ = false;
    LogPortCheck(startCheckResult_);
    const PortSettings& settings = CurrentPortSettings();
    if (startCheckResult_.result == PortCheck::Result::Answered) {
        showPort(true);
        EnableDeviceControls(true);
    } else {
        // No box at start: the status bar and the empty page say it.
        const QString portName = settings.PortName;
        CancelConnectionFields(CurrentPortSettings());
        showPort(false);
        portPanel->setText(FailedPortPanelText(portName, startCheckResult_));
        portPanel->setToolTip(startCheckResult_.openError);
        EnableDeviceControls(false);
        startHint->setText(SilentPortHint(portName, startCheckResult_));
    }
    emit startCheckFinished();
}

void MainWindow::showPort(bool applied) {
    const PortSettings& settings = CurrentPortSettings();
    portPanel->setToolTip(QString());
    const bool emulator = applied && settings.PortName == EmulatorPortName();
    portPanel->setText(applied ? PortPanelText(settings) : PortPanelResetText());
    speedPanel->setText(applied ? SpeedPanelText(settings) : SpeedPanelResetText());
    portPanel->setStyleSheet(
        emulator ? QStringLiteral("QLabel { color: #c00000; font-weight: bold; }") : QString());
    setWindowTitle(emulator ? QStringLiteral("Zelvo — ") + EmulatorPortName() : ProgramTitle);
}

bool MainWindow::refuseWhileExchanging() {
    return RefuseDuringDeviceOperation();
}

void MainWindow::openWizard(int startPage, bool singlePage) {
    // The wizard edits the configuration a running transfer is moving.
    if (refuseWhileExchanging()) return;
    ShowMainPage(nullptr);
    WizardWindow wizard(this, startPage, singlePage, this);
    wizard.exec();
}

void MainWindow::loadFromFile() {
    // A transfer that is running reads and writes the same configuration; a
    // file loaded under it would leave a mix of both in the model or the device.
    // No lock is held while the dialog is open: it takes every key, its
    // completion list (a window of its own) included. A transfer never runs
    // under the load, as every user action is refused while one runs.
    if (refuseWhileExchanging()) return;
    QFileDialog dialog(this);
    StartInFolder(dialog, FileKind::Configuration);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Any typed name is taken: one that cannot be opened is reported by the
    // load itself, and the constructor page opens all the same.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(ConfigurationFilter);
    dialog.setDefaultSuffix(QStringLiteral("cfg"));
    const QString path = RunFileDialog(dialog, FileKind::Configuration);
    if (path.isEmpty()) return;
    LoadConfigurationFileInteractive(CurrentConfiguration(), path);
    EnableSaveToFile();
    constructorPage_->Fill();
    ShowMainPage(constructorPage_);
}

void MainWindow::saveToFile() {
    QFileDialog dialog(this);
    StartInFolder(dialog, FileKind::Configuration);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // Saving replaces the chosen file without a further question; a save that
    // fails part-way leaves the old file as it was.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilter(ConfigurationFilter);
    dialog.setDefaultSuffix(QStringLiteral("cfg"));
    const QString path = RunFileDialog(dialog, FileKind::Configuration);
    if (path.isEmpty()) return;
    SaveConfigurationFileInteractive(CurrentConfiguration(), path);
}

void MainWindow::downloadConfiguration() {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    ShowMainPage(nullptr);
    if (DownloadConfiguration(CurrentConfiguration())) EnableSaveToFile();
}

void MainWindow::uploadConfiguration() {
    if (refuseWhileExchanging()) return;
    const int items = int(WholeUploadItems(CurrentConfiguration()).size());
    if (!Dialogs().confirmDefaultNo(WholeUploadQuestion(items))) return;
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    UploadConfiguration(CurrentConfiguration());
}

void MainWindow::compareWithDevice() {
    if (!CompareConfigurationWithDevice(this)) return;
    EnableSaveToFile();
    if (currentPage_ == constructorPage_) constructorPage_->Fill();
}

void MainWindow::showForms() {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    const std::optional<int> group = ReadFormTable(CurrentConfiguration());
    EnableSaveToFile();
    constructorPage_->setCurrentGroup(group);
    constructorPage_->Fill();
    ShowMainPage(constructorPage_);
}

void MainWindow::programInn() {
    if (refuseWhileExchanging()) return;
    ShowMainPage(nullptr);
    InnDialog dialog(this);
    dialog.exec();
}

void MainWindow::showAbout() {
    AboutDialog about(this);
    about.exec();
}
