#include "shell/DeviceOperation.h"

#include "shell/UserDialogs.h"

namespace {
void TellExchangeRunning() {
    Dialogs().warning(QStringLiteral("Идёт обмен с АС. Дождитесь окончания текущей операции."));
}
}  // namespace

bool BeginDeviceOperation(DeviceLock& lock) {
    if (lock.acquired()) return true;
    TellExchangeRunning();
    return false;
}

bool RefuseDuringDeviceOperation() {
    if (!DeviceLock::busy()) return false;
    TellExchangeRunning();
    return true;
}
