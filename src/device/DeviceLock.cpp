#include "device/DeviceLock.h"

namespace {
bool g_busy = false;
DeviceLock::Observer g_observer = nullptr;
}  // namespace

DeviceLock::DeviceLock() : acquired_(!g_busy) {
    if (!acquired_) return;
    g_busy = true;
    if (g_observer) g_observer(true);
}

DeviceLock::~DeviceLock() {
    if (!acquired_) return;
    // The observer still sees the operation as running while it settles what
    // arrived during the last exchange.
    if (g_observer) g_observer(false);
    g_busy = false;
}

bool DeviceLock::busy() {
    return g_busy;
}

void DeviceLock::setObserver(Observer observer) {
    g_observer = observer;
}
