#pragma once

#include <QString>
#include <QStringList>

class SerialLink;

// Port names that a link of the program's own serves instead of a serial port
// (the in-process emulated device is one). The program registers them at
// start; the device layer knows only this seam, never the links behind it.
void RegisterPortLink(const QString& portName, SerialLink* link);  // nullptr removes
SerialLink* RegisteredPortLink(const QString& portName);
// In the order they were registered; the port list offers them last.
QStringList RegisteredPortNames();
