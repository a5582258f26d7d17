#pragma once

#include <QList>
#include <QString>

// One serial port the system reports: its name ("COM3", "ttyUSB0"), where it
// is opened ("\\.\COM3", "/dev/ttyUSB0") and the system's description of the
// device behind it ("USB-SERIAL CH340 (COM3)"), empty where it has none.
struct SystemSerialPort {
    QString name;
    QString location;
    QString description;
};

// The ports present now. Qt SerialPort asks the system on Linux
// (QtSerialPortList.cpp); SetupAPI does on Windows (Win32SerialPortList.cpp).
QList<SystemSerialPort> SystemSerialPorts();
