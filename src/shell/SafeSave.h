#pragma once

// The one way the program writes a file the user chose.

#include <QByteArray>
#include <QString>

// Writes `bytes` as the file at `path`. The bytes go to a temporary file
// beside the target that replaces it only when complete, so a save that fails
// in any way leaves the old file as it was. Only when the folder refuses the
// temporary file while the file itself may be written (a shared file in a
// folder the user cannot write to) is the file overwritten in place, as a
// plain save would; no other failure falls back to that.
bool SaveFileSafely(const QString& path, const QByteArray& bytes);
