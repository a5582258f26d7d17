#include "device/SearchedPorts.h"

#include <algorithm>

#include "device/DeviceFinder.h"
#include "device/LinkRegistry.h"

QString AskedPortsLine(const QStringList& portNames, const DeviceSearchResult& result) {
    if (result.found || result.stopped) return {};
    const QStringList registered = RegisteredPortNames();
    QStringList asked;
    for (const QString& name : portNames) {
        if (registered.contains(name) || asked.contains(name)) continue;
        const bool skipped = std::any_of(result.skipped.cbegin(), result.skipped.cend(),
                                         [&](const SkippedPort& p) { return p.portName == name; });
        if (!skipped) asked << name;
    }
    if (asked.isEmpty()) return {};
    return QStringLiteral("Опрошены порты: %1.").arg(asked.join(QStringLiteral(", ")));
}
