#include "device/DeviceLock.h"

#include "shell/UserDialogs.h"

namespace {
bool g_busy = false;
}

DeviceLock::DeviceLock() : acquired_(!g_busy) {
    if (acquired_) g_busy = true;
}

DeviceLock::~DeviceLock() {
    if (acquired_) g_busy = false;
}

bool DeviceLock::busy() {
    return g_busy;
}

bool BeginDeviceOperation(DeviceLock& lock) {
    if (lock.acquired()) return true;
    Dialogs().warning(QStringLiteral("Идёт обмен с АС. Дождитесь окончания текущей операции."));
    return false;
}
