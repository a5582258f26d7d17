#pragma once

#include <memory>

#include "device/SerialLink.h"

// A new link to the system's serial ports, of the kind this platform uses
// (PosixSerialLink on Unix, Win32SerialLink on Windows). Each
// is independent of every other: the device search gives each port a link of
// its own, used from one thread only.
std::unique_ptr<SerialLink> NewSystemSerialLink();
