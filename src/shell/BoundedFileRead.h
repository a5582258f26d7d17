#pragma once

// Reading a file the user named, with a bound on what is read: a file chosen
// in a dialog can be anything, and a named pipe or a device would block the
// one thread for ever, a huge file would fill the memory.

#include <QByteArray>
#include <QString>

enum class FileReadStatus {
    Ok,
    CannotOpen,       // missing, no permission, or a read error
    NotARegularFile,  // a directory, a named pipe, a device...
};

struct BoundedFileRead {
    FileReadStatus status = FileReadStatus::Ok;
    QByteArray bytes;        // at most maxBytes
    bool truncated = false;  // the file holds more than maxBytes
};

// Reads at most `maxBytes` of a regular file. Anything else is refused before
// a byte is read, and without waiting for a writer on a pipe.
BoundedFileRead ReadRegularFile(const QString& path, qint64 maxBytes);
