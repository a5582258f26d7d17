#include "shell/ui/ProgramWindows.h"

ProgramWindows::ProgramWindows()
    : lineEditor_(&mainWindow),
      numberEditor_(&mainWindow),
      goodsEditor_(&mainWindow),
      waitWindow_(&mainWindow),
      progress_(&mainWindow, &waitWindow_) {
    SetDialogs(&dialogs_);
    SetProgress(&progress_);
    SharedLineEditor = &lineEditor_;
    SharedNumberEditor = &numberEditor_;
    SharedGoodsEditor = &goodsEditor_;
}

ProgramWindows::~ProgramWindows() {
    SharedLineEditor = nullptr;
    SharedNumberEditor = nullptr;
    SharedGoodsEditor = nullptr;
    SetDialogs(nullptr);
    SetProgress(nullptr);
}
