#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "admin/ui/StatePage.h"
#include "app/MainWindow.h"
#include "app/MainWindowFrame.h"
#include "device/ui/ExchangeLogWindow.h"
#include "goods/ui/GoodsPage.h"
#include "goods/ui/GoodsSearchBar.h"
#include "image/ui/ImageWindow.h"
#include "shell/ui/Guarded.h"
#include "shell/ui/Icons.h"

// The main window's menus, their shortcuts, the tool bar and the status bar.

using namespace MainWindowFrame;

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
