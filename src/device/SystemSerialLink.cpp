#include "device/SystemSerialLink.h"

// The one place that chooses the system's serial link.
#ifdef Q_OS_WIN
#include "device/Win32SerialLink.h"
using SystemLink = Win32SerialLink;
#else
#include "device/PosixSerialLink.h"
using SystemLink = PosixSerialLink;
#endif

std::unique_ptr<SerialLink> NewSystemSerialLink() {
    return std::make_unique<SystemLink>();
}
