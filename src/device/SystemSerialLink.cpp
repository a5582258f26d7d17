#include "device/SystemSerialLink.h"

#include "device/PosixSerialLink.h"
#include "device/QtSerialLink.h"

std::unique_ptr<SerialLink> NewSystemSerialLink() {
#ifdef Q_OS_UNIX
    return std::make_unique<PosixSerialLink>();
#else
    return std::make_unique<QtSerialLink>();
#endif
}
