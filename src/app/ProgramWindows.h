#pragma once

#include "app/MainWindow.h"
#include "device/ui/ExchangeLogWindow.h"
#include "goods/ui/GoodsRecordEditor.h"
#include "shell/ui/InputGuard.h"
#include "shell/ui/QtDialogs.h"
#include "shell/ui/WaitWindow.h"
#include "shell/ui/WindowProgress.h"
#include "wizard/ui/LineEditorDialog.h"
#include "wizard/ui/NumberEditorDialog.h"

// The windows that live for the whole run, created in the order the program
// needs them: the main window, the line editor, the number editor, the goods
// record editor, the wait window, the exchange log window. The splash is made
// and destroyed by the main window's first show. Message boxes and progress go
// to these windows for as long as the object lives. The exchange log window
// has no parent, so that it stays usable beside the settings dialog, which is
// modal to the main window only.
class ProgramWindows {
public:
    ProgramWindows();
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    MainWindow mainWindow;
    InputGuard& inputGuard() { return inputGuard_; }
    WaitWindow& waitWindow() { return waitWindow_; }
    UserDialogs& dialogs() { return dialogs_; }

private:
    QtDialogs dialogs_;
    LineEditorDialog lineEditor_;
    NumberEditorDialog numberEditor_;
    GoodsRecordEditor goodsEditor_;
    WaitWindow waitWindow_;
    WindowProgress progress_;
    InputGuard inputGuard_;
    ExchangeLogWindow exchangeLog_;
};
