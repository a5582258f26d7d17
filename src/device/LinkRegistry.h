#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class SerialLink;

// Port names that a link of the program's own serves instead of a serial port
// (the in-process emulated device is one). The program registers them at
// start; the device layer knows only this seam, never the links behind it.
void RegisterPortLink(const QString& portName, SerialLink* link);  // nullptr removes
SerialLink* RegisteredPortLink(const QString& portName);
// In the order they were registered; the port list offers them last.
QStringList RegisteredPortNames();

// A new link for a port the program reaches by itself: a network link for a
// tcp:// or rfc2217:// name, the system's serial link for any other.
std::unique_ptr<SerialLink> NewLinkForPort(const QString& portName);
// Names served by the same kind of link share one: the kind's key.
QString PortLinkKind(const QString& portName);
