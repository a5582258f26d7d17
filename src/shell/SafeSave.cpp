#include "shell/SafeSave.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>

#include "shell/FolderRefusal.h"
#include "shell/NewFileMode.h"

namespace {

// The fallback: an existing regular file the user may write, written over.
bool WriteInPlace(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    if (!info.isFile() || !info.isWritable()) return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

}  // namespace

bool SaveFileSafely(const QString& path, const QByteArray& bytes, NewFileReaders readers) {
    const bool existed = QFileInfo::exists(path);
    QSaveFile file(path);
    // Qt takes this way only when the temporary file is refused for lack of
    // permission (EACCES), and only for a file that may be written.
    file.setDirectWriteFallback(true);
    // The temporary file is created with the final mode: where Qt creates it
    // by name (network and user-space file systems) it is never readable by
    // others, not even for the moment before its mode is set.
    std::optional<OwnerOnlyFileCreation> ownerOnly;
    if (!existed && readers == NewFileReaders::OwnerOnly) ownerOnly.emplace();
    const bool opened = file.open(QIODevice::WriteOnly);
    ownerOnly.reset();
    if (!opened) {
        // "Operation not permitted" is as much a refusal of the folder's.
        if (!existed || !FolderRefusesNewFiles(QFileInfo(path).absolutePath())) return false;
        return WriteInPlace(path, bytes);
    }
    // The temporary file becomes the new file; one that existed has already
    // lent it its mode.
    if (!existed && readers == NewFileReaders::OwnerOnly &&
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    // commit() of this Qt puts the file in place even when the final flush of
    // its buffer failed (a full disk), so the write and the flush are checked
    // first. A failed save is still closed through commit() after
    // cancelWriting(): that discards the temporary file, and a file written in
    // place is closed rather than removed, as the destructor of an open
    // QSaveFile would try.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
}
