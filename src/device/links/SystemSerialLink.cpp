#include "device/links/SystemSerialLink.h"

// The one place that chooses the system's serial link.
#ifdef Q_OS_WIN
#include "device/links/Win32SerialLink.h"
using SystemLink = Win32SerialLink;
#else
#include "device/links/PosixSerialLink.h"
using SystemLink = PosixSerialLink;
#endif

std::unique_ptr<SerialLink> NewSystemSerialLink() {
    return std::make_unique<SystemLink>();
}
