#pragma once

#include <QMainWindow>

#include "device/PortCheck.h"
#include "shell/ui/PageHost.h"

class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QThread;
class QFrame;
class QToolButton;
class FormConstructorPage;
class PageArea;
class GoodsPage;
class StatePage;

// The main window: menus, tool bar, one page at a time, status bar with the
// progress bar. It owns nothing of the device protocol; its menu actions hand
// over to the pages and to the transfers in the core.
class MainWindow : public QMainWindow, public PageHost {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Page switching: hides the current page, processes events once, shows the new one.
    void ShowMainPage(QWidget* page) override;
    void showFormConstructor() override;
    QWidget* hostWindow() override { return this; }
    ConfigurationUndo* configurationUndo() override { return configurationUndo_; }
    QWidget* currentPage() const { return currentPage_; }

    void EnableDeviceControls(bool enable);
    void ProgressBegin() override;
    void ProgressStep(int done, int total) override;
    void ProgressEnd() override;

    // "Загрузить в файл" once a configuration exists in the tool; never disabled again.
    void EnableSaveToFile();

    FormConstructorPage* constructorPage() const { return constructorPage_; }
    GoodsPage* goodsPage() const { return goodsPage_; }
    StatePage* statePage() const { return statePage_; }
    QProgressBar* progressBar() const { return progressBar_; }
    QFrame* contentPanel() const;

    // Skips the splash (tests that do not time the start-up).
    static void setSplashEnabled(bool enabled);
    // Keeps the size, position and maximized state between runs in the user's
    // settings; off unless the program turns it on, so that tests leave them alone.
    static void setGeometryKept(bool kept);

    // The menu actions, public so that tests drive them as a user would.
    QAction* actSettings = nullptr;
    QAction* actExchangeLog = nullptr;
    QAction* actConstructorMenu = nullptr;
    QAction* actWizard = nullptr;
    QAction* actLoadFile = nullptr;
    QAction* actSaveFile = nullptr;
    QAction* actDownload = nullptr;
    QAction* actUpload = nullptr;
    QAction* actCompare = nullptr;  // "Сравнить с АС"
    QAction* actOperators = nullptr;
    QAction* actDocumentName = nullptr;
    QAction* actServices = nullptr;
    QAction* actRequisites = nullptr;
    QAction* actCliche = nullptr;
    QAction* actForms = nullptr;
    QAction* actGoods = nullptr;
    QAction* actAdminMenu = nullptr;
    QAction* actInn = nullptr;
    QAction* actState = nullptr;
    QAction* actReports = nullptr;
    QAction* actAbout = nullptr;
    QAction* actGoodsSearch = nullptr;  // Ctrl+F: the goods page's search field
    QAction* actMenuBarKey = nullptr;   // F10: into the menu bar
    QToolButton* toolSettings = nullptr;
    QToolButton* toolWizard = nullptr;
    QToolButton* toolGoods = nullptr;
    QToolButton* toolReports = nullptr;
    QLabel* portPanel = nullptr;
    QLabel* speedPanel = nullptr;
    // On the empty page until a port is applied: what to do first.
    QLabel* startHint = nullptr;

    // Applies the settings dialog's outcome: pause, probe, enabling or the message.
    void AfterSettingsDialog();

signals:
    // After the splash has closed and the pages exist.
    void started();
    // The check of the settings kept from the last run has ended, either way.
    void startCheckFinished();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // The window does not close while an exchange with the device runs: the
    // transfer is still working through the window's events.
    void closeEvent(QCloseEvent* event) override;

private:
    // True (after telling the user) when a device exchange is running.
    bool refuseWhileExchanging();
    void buildMenus();
    void addShortcuts();
    void focusGoodsSearch();
    void enterMenuBar();
    void buildToolBar();
    void buildStatusBar();
    void createPages();
    void openSettings();
    // At start with settings kept from the last run: applies them and checks
    // the port in a thread of its own, as "Применить" does but without a box.
    void applyKeptSettings();
    // Takes the start's check into the window, waiting for it to end first.
    void finishStartCheck();
    // The port in the status bar and the window title: the applied port, or
    // none. With the emulator both say "Эмулятор АС": every write succeeds
    // there with no device attached, which must never pass for the device.
    void showPort(bool applied);
    void openWizard(int startPage, bool singlePage);
    void loadFromFile();
    void saveToFile();
    void downloadConfiguration();
    void uploadConfiguration();
    void compareWithDevice();
    void showForms();
    void programInn();
    void showAbout();

    ConfigurationUndo* configurationUndo_ = nullptr;
    PageArea* content_ = nullptr;
    QWidget* blankPage_ = nullptr;
    QWidget* currentPage_ = nullptr;
    FormConstructorPage* constructorPage_ = nullptr;
    GoodsPage* goodsPage_ = nullptr;
    StatePage* statePage_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    bool firstShown_ = false;
    QThread* startCheck_ = nullptr;
    bool startCheckPending_ = false;
    PortCheck startCheckResult_;
};
