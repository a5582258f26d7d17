#pragma once

#include <memory>

#include "device/SerialLink.h"

// A new link to the system's serial ports: PosixSerialLink on Unix,
// Win32SerialLink on Windows. Each instance opens one port at a time.
std::unique_ptr<SerialLink> NewSystemSerialLink();
