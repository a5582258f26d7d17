#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The list entry that routes every exchange to the in-process emulated device.
QString EmulatorPortName();

// One entry of the port list: the name the settings store, and the system's
// description of the device behind it where it gives one.
struct PortEntry {
    QString name;
    QString description;
    bool present = false;  // a serial device is behind it (not a registered link)
};

// "COM1".."COM100", then the system's own serial ports that are not one of
// those COM items already (COM1 is /dev/ttyS0 on Linux), then the registered
// links' names (the emulator entry).
QList<PortEntry> AvailablePorts();
QStringList AvailablePortNames();

// The text the port list shows: "/dev/ttyUSB0 — USB-Serial Controller", or
// the name alone when the system gives no description.
QString PortEntryText(const PortEntry& entry);

// The device path a port name opens: \\.\COMn on Windows, /dev/ttyS<n-1> on
// Linux for COMn; any other name is taken as a path already.
QString PortPath(const QString& portName);
