#include "shell/ui/ProgramWindows.h"

ProgramWindows::ProgramWindows()
    : lineEditor_(&mainWindow),
      numberEditor_(&mainWindow),
      goodsEditor_(&mainWindow),
      waitWindow_(&mainWindow) {
    SetDialogs(&dialogs_);
    SetProgress(&progress_);
    Form6 = &lineEditor_;
    Form7 = &numberEditor_;
    Form8 = &goodsEditor_;
}

ProgramWindows::~ProgramWindows() {
    Form6 = nullptr;
    Form7 = nullptr;
    Form8 = nullptr;
    Form9 = nullptr;
    SetDialogs(nullptr);
    SetProgress(nullptr);
}
