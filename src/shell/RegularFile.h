#pragma once

// Every file the program loads goes through here, so that a name typed into an
// open dialog can never hold the program: a FIFO waits for a writer for ever
// when it is opened, and a device or a serial port would be touched.

#include <QString>

class QFile;

// Opens `path` (directly or through links) for reading when it is a regular
// file; anything else is never opened and gives false, as an unreadable or
// missing file does.
bool OpenRegularFile(QFile& file, const QString& path);
