#pragma once

#include <QString>
#include <QStringList>

#include "emulator/EmulatorFaults.h"

class DeviceEmulator;

// The little control language of the emulated device, one command a line. The
// simulator takes it on its standard input and builds its start-up options from
// it, so a test can say the same thing either way.
//
// Numbers are decimal, or hexadecimal with a 0x prefix.

// Applies one line; returns an empty string on success, otherwise the reason.
QString ApplyEmulatorCommand(DeviceEmulator& device, const QString& line);

// Reads "KIND [VALUE] [cmd=C] [group=G] [index=I] [count=N]".
bool ParseFault(const QStringList& words, Fault& fault, QString& error);

// One line of help per command.
QStringList EmulatorCommandHelp();
