#include "device/PortNames.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>

#include "device/LinkRegistry.h"
#include "device/links/SystemSerialPorts.h"

namespace {

constexpr int ComItemCount = 100;

// The same device may be reached through a link (/dev/serial/by-id/...).
[[maybe_unused]] QString DeviceIdentity(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

}  // namespace

QString EmulatorPortName() {
    return QStringLiteral("Эмулятор АС");
}

QList<PortEntry> ArrangePorts(const QList<SystemSerialPort>& ports, const QStringList& registered) {
    QList<PortEntry> entries;
    entries.reserve(ComItemCount + 10);
    QHash<QString, int> comByDevice;
    for (int i = 1; i <= ComItemCount; ++i) {
        PortEntry entry;
        entry.name = QStringLiteral("COM%1").arg(i);
#ifndef Q_OS_WIN
        const QString path = PortPath(entry.name);
        entry.present = QFileInfo::exists(path);
        if (entry.present) comByDevice.insert(DeviceIdentity(path), i - 1);
#endif
        entries << entry;
    }
    // The ports the system lists, in its order: they head the list.
    QList<int> listedOrder;
    for (const SystemSerialPort& info : ports) {
        const QString& location = info.location;
        int same = -1;
#ifdef Q_OS_WIN
        static const QRegularExpression com(QStringLiteral("^COM([0-9]{1,3})$"));
        const QRegularExpressionMatch m = com.match(info.name);
        if (m.hasMatch() && m.captured(1).toInt() >= 1 && m.captured(1).toInt() <= ComItemCount)
            same = m.captured(1).toInt() - 1;
#else
        same = comByDevice.value(DeviceIdentity(location), -1);
#endif
        if (same < 0) {
            for (int i = ComItemCount; i < entries.size() && same < 0; ++i)
                if (entries.at(i).name == location) same = i;
        }
        if (same < 0) {
            entries << PortEntry{location, info.description, true, true};
            listedOrder << int(entries.size()) - 1;
            continue;
        }
        PortEntry& entry = entries[same];
        entry.present = true;
        if (entry.description.isEmpty()) entry.description = info.description;
        if (!entry.listed) listedOrder << same;
        entry.listed = true;
    }
    for (PortEntry& entry : entries)
        if (registered.contains(entry.name)) entry.present = entry.listed = false;

    // A newcomer finds the real ports, then the emulator, then the COM names
    // nothing stands behind.
    QList<PortEntry> ordered;
    ordered.reserve(entries.size() + registered.size());
    for (int i : listedOrder)
        if (entries.at(i).listed) ordered << entries.at(i);
    for (const QString& name : registered) ordered << PortEntry{name, QString(), false, false};
    for (const PortEntry& entry : entries)
        if (!entry.listed && !registered.contains(entry.name)) ordered << entry;
    return ordered;
}

QList<PortEntry> AvailablePorts() {
    return ArrangePorts(SystemSerialPorts(), RegisteredPortNames());
}

QStringList AvailablePortNames() {
    QStringList names;
    for (const PortEntry& entry : AvailablePorts()) names << entry.name;
    return names;
}

QString PortEntryText(const PortEntry& entry) {
    const QString description = entry.description.trimmed();
    if (description.isEmpty()) return entry.name;
    return entry.name + QStringLiteral(" — ") + description;
}

QString PortPath(const QString& portName) {
    static const QRegularExpression com(QStringLiteral("^COM([0-9]{1,3})$"));
    const QRegularExpressionMatch m = com.match(portName);
    if (m.hasMatch()) {
        const int n = m.captured(1).toInt();
        if (n >= 1 && n <= ComItemCount) {
#ifdef Q_OS_WIN
            return QStringLiteral("\\\\.\\COM%1").arg(n);
#else
            return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif
        }
    }
    return portName;
}
