#pragma once

// The line the device search's "not found" message ends with: which ports
// were asked, so that the user sees whether the port the device is on was
// among them at all.

#include <QString>
#include <QStringList>

struct DeviceSearchResult;

// "Опрошены порты: COM1, /dev/ttyUSB0." for the ports of `portNames` the
// search asked (not those it could not open, nor a registered link's name);
// empty when it found the device, was stopped or asked none.
QString AskedPortsLine(const QStringList& portNames, const DeviceSearchResult& result);
