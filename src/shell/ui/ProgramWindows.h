#pragma once

#include "goods/ui/Sd_edit.h"
#include "shell/ui/Main.h"
#include "shell/ui/QtDialogs.h"
#include "shell/ui/Wait.h"
#include "shell/ui/WindowProgress.h"
#include "wizard/ui/Edit_dig.h"
#include "wizard/ui/Edit_string.h"

// The windows that live for the whole run, created in the order the program
// needs them: the main window, the line editor, the number editor, the goods
// record editor, the wait window. The splash is made and destroyed by the
// main window's first show. Message boxes and progress go to these windows
// for as long as the object lives.
class ProgramWindows {
public:
    ProgramWindows();
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    TForm1 mainWindow;

private:
    QtDialogs dialogs_;
    WindowProgress progress_;
    TForm6 lineEditor_;
    TForm7 numberEditor_;
    TForm8 goodsEditor_;
    TForm9 waitWindow_;
};
