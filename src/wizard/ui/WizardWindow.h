#pragma once

#include <QDialog>
#include <memory>

#include "wizard/WizardWrites.h"

class QFrame;
class ConfigurationPages;
class WizardPage;
class WizardStartPage;
class OperatorsPage;
class DocumentNamePage;
class ServicesPage;
class RequisitesPage;
class ClichePage;
class WizardLastPage;
class PageHost;
class ConfigurationUndo;

// The "Помощник" host window: created for each opening, shown modally. It
// creates its seven pages when it is shown and destroys them with itself.
class WizardWindow : public QDialog {
    Q_OBJECT
public:
    // `host` shows the form constructor after "Готово"; none in tests of the
    // wizard alone.
    WizardWindow(QWidget* parent, int startPage, bool singlePage, PageHost* pageHost = nullptr);
    ~WizardWindow() override;

    static constexpr int PageCount = 7;

    // Hides the current page, lets pending paints through, shows `page`.
    void ShowPage(QWidget* page);
    QWidget* currentPage() const { return current_; }
    // The page of an index 0..6, or nullptr.
    WizardPage* page(int index) const;

    bool singlePage() const { return singlePage_; }
    int startPage() const { return startPage_; }

    // "Выход" confirmed or "Готово": the window closes.
    void closeWizard();
    PageHost* pageHost() const { return pageHost_; }
    // The history the pages' edits go into: the host's, which outlives this
    // window; one of the window's own when it has no host.
    ConfigurationUndo* configurationUndo() const { return undo_; }

    // What the start page's download refills after each of its phases.
    ConfigurationPages& refreshPages() { return *refresh_; }
    // What this opening has written to the device or read from it.
    WizardWrites& writes() { return writes_; }

    WizardStartPage* welcomePage = nullptr;
    OperatorsPage* operatorsPage = nullptr;
    DocumentNamePage* documentNamePage = nullptr;
    ServicesPage* servicesPage = nullptr;
    RequisitesPage* requisitesPage = nullptr;
    ClichePage* clichePage = nullptr;
    WizardLastPage* lastPage = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // The window has no close box: Esc (or the window manager's close) is the
    // current page's "Выход", with its question; with no page shown it closes.
    void reject() override;

private:
    QSize pageSize() const;
    void createPages();
    // An undo or redo changed the configuration: every page shows it again.
    void refillPages();

    PageHost* pageHost_ = nullptr;
    int startPage_ = 0;
    bool singlePage_ = false;
    bool pagesCreated_ = false;
    ConfigurationUndo* undo_ = nullptr;
    QFrame* pageArea = nullptr;
    QWidget* current_ = nullptr;
    std::unique_ptr<ConfigurationPages> refresh_;
    WizardWrites writes_;
};
