#include "app/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHideEvent>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "admin/ui/StatePage.h"
#include "app/MainWindowFrame.h"
#include "app/PageArea.h"
#include "app/SplashWindow.h"
#include "app/WindowGeometry.h"
#include "config/ConfigurationSync.h"
#include "config/DeviceConfiguration.h"
#include "config/ui/ConfigurationUndo.h"
#include "device/PortNames.h"
#include "device/Protocol.h"
#include "forms/ui/FormConstructorPage.h"
#include "goods/ui/GoodsPage.h"
#include "shell/DeviceOperation.h"
#include "shell/Progress.h"
#include "shell/UnsentWork.h"
#include "shell/UserDialogs.h"

using namespace MainWindowFrame;

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

bool g_splashEnabled = true;
bool g_geometryKept = false;
}  // namespace

void MainWindow::setSplashEnabled(bool enabled) {
    g_splashEnabled = enabled;
}

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(ProgramTitle());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);

    PortSettings& settings = CurrentPortSettings();
    settings.Applied = false;
    settings.PortName.clear();
    settings.MachineNumber = QByteArrayLiteral("0");
    ResetFormTable(CurrentConfiguration());
    ResetConfiguration(CurrentConfiguration());
    // Nothing typed yet: the empty configuration is no work of the user's.
    ProgramConfigurationSync().keepAll(CurrentConfiguration());
    configurationUndo_ = new ConfigurationUndo(CurrentConfiguration(), this);

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
    unsent << ProgramConfigurationSync().unsentText(CurrentConfiguration());
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

bool MainWindow::refuseWhileExchanging() {
    return RefuseDuringDeviceOperation();
}
