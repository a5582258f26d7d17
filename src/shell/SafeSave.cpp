#include "shell/SafeSave.h"

#include <QSaveFile>

bool SaveFileSafely(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    // Qt takes this way only when the temporary file is refused for lack of
    // permission (EACCES), and only for a file that may be written.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) return false;
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
