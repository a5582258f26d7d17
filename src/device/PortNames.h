#pragma once

#include <QString>
#include <QStringList>

// The list entry that routes every exchange to the in-process emulated device.
QString EmulatorPortName();

// "COM1".."COM100", then the system's own serial ports, then the registered
// links' names (the emulator entry).
QStringList AvailablePortNames();

// The device path a port name opens: \\.\COMn on Windows, /dev/ttyS<n-1> on
// Linux for COMn; any other name is taken as a path already.
QString PortPath(const QString& portName);
