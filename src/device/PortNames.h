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
    bool listed = false;   // the system lists it among its serial ports
};

// The system's serial ports first, with their descriptions (a port that is
// one of the COM items goes by that name: COM1 is /dev/ttyS0 on Linux), then
// the registered links' names (the emulator entry), then the rest of
// "COM1".."COM100".
QList<PortEntry> AvailablePorts();
// The same list from the system's ports and the registered links' names given.
struct SystemSerialPort;
QList<PortEntry> ArrangePorts(const QList<SystemSerialPort>& systemPorts,
                              const QStringList& registered);
QStringList AvailablePortNames();

// The text the port list shows: "/dev/ttyUSB0 — USB-Serial Controller", or
// the name alone when the system gives no description.
QString PortEntryText(const PortEntry& entry);

// The device path a port name opens: \\.\COMn on Windows, /dev/ttyS<n-1> on
// Linux for COMn; any other name is taken as a path already.
QString PortPath(const QString& portName);
