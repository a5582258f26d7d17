#pragma once

#include "device/DeviceLock.h"

// Takes the lock or, when an exchange is already running, tells the user so and
// returns false. Every page action that talks to the device starts with it.
bool BeginDeviceOperation(DeviceLock& lock);

// True, after telling the user as BeginDeviceOperation does, while an exchange
// runs. For the actions that change what a transfer moves without talking to
// the device themselves (loading a file): they need not hold the lock, since
// none can start while they run, but none may run under a transfer.
bool RefuseDuringDeviceOperation();
