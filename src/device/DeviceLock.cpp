#include "device/DeviceLock.h"

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
