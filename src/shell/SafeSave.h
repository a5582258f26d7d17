#pragma once

// The one way the program writes a file the user chose.

#include <QByteArray>
#include <QString>

// Who may read a file the save creates. A file that exists keeps its mode.
enum class NewFileReaders {
    AsUsual,    // as the user's file-creation mask allows
    OwnerOnly,  // 0600: the file holds operators' passwords
};

// Writes `bytes` as the file at `path`. The bytes go to a temporary file
// beside the target that replaces it only when complete, so a save that fails
// in any way leaves the old file as it was. Only when the folder refuses the
// temporary file for want of permission (denied, or "operation not permitted"
// from an immutable folder or a network share) while the file itself exists
// and may be written is the file overwritten in place, as a plain save would;
// no other failure falls back to that.
bool SaveFileSafely(const QString& path, const QByteArray& bytes,
                    NewFileReaders readers = NewFileReaders::AsUsual);
