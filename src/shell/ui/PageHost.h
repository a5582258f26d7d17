#pragma once

class ConfigurationUndo;
class QWidget;

// What the pages, the wizard and the window progress need of the window that
// hosts the pages. The main window is the one host; nothing below it sees its
// concrete class.
class PageHost {
public:
    // Hides the current page, processes events once, shows `page` (nullptr: none).
    virtual void ShowMainPage(QWidget* page) = 0;
    // Refills the form constructor page from the configuration and shows it.
    virtual void showFormConstructor() = 0;
    // The status bar's progress bar.
    virtual void ProgressBegin() = 0;
    virtual void ProgressStep(int done, int total) = 0;
    virtual void ProgressEnd() = 0;
    // The window that windows shown for a page are centred on.
    virtual QWidget* hostWindow() = 0;
    // The history of the configuration's edits, shared by every page that
    // edits it and kept for the whole run.
    virtual ConfigurationUndo* configurationUndo() = 0;

protected:
    ~PageHost() = default;
};
