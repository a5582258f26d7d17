#pragma once

#include "device/DeviceLock.h"

// Takes the lock or, when an exchange is already running, tells the user so and
// returns false. Every page action that talks to the device starts with it.
bool BeginDeviceOperation(DeviceLock& lock);
