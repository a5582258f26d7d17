#include "shell/DeviceOperation.h"

#include "shell/UserDialogs.h"

bool BeginDeviceOperation(DeviceLock& lock) {
    if (lock.acquired()) return true;
    Dialogs().warning(QStringLiteral("Идёт обмен с АС. Дождитесь окончания текущей операции."));
    return false;
}
