#include "app/ProgramWindows.h"

#include <QPushButton>

#include "device/ExchangeLog.h"

ProgramWindows::ProgramWindows()
    : dialogs_(&mainWindow),
      lineEditor_(&mainWindow),
      numberEditor_(&mainWindow),
      goodsEditor_(&mainWindow),
      waitWindow_(&mainWindow),
      progress_(&mainWindow, &waitWindow_),
      inputGuard_(&waitWindow_),
      exchangeLog_(ProgramExchangeLog()) {
    SetDialogs(&dialogs_);
    SetProgress(&progress_);
    inputGuard_.followDeviceOperations();
    QObject::connect(waitWindow_.stopButton, &QPushButton::clicked,
                     [this] { progress_.requestStop(); });
    // A stop asked for during one operation never reaches the next.
    QObject::connect(&inputGuard_, &InputGuard::ended, [this] { progress_.clearStopRequest(); });
    SharedLineEditor = &lineEditor_;
    SharedNumberEditor = &numberEditor_;
    SharedGoodsEditor = &goodsEditor_;
    SharedExchangeLogWindow = &exchangeLog_;
}

ProgramWindows::~ProgramWindows() {
    SharedLineEditor = nullptr;
    SharedNumberEditor = nullptr;
    SharedGoodsEditor = nullptr;
    SharedExchangeLogWindow = nullptr;
    SetDialogs(nullptr);
    SetProgress(nullptr);
}
