#include "shell/BoundedFileRead.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Opens the file for reading only when it is a regular file. On Unix the
// check is made on the opened descriptor, so that a file swapped for a pipe
// between a check and the open cannot block; the open itself does not wait
// for a pipe's writer.
FileReadStatus OpenRegular(const QString& path, QFile& file) {
#ifdef Q_OS_UNIX
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return FileReadStatus::CannotOpen;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        return FileReadStatus::CannotOpen;
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return FileReadStatus::NotARegularFile;
    }
    // Regular files ignore O_NONBLOCK; clear it all the same.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return FileReadStatus::CannotOpen;
    }
    return FileReadStatus::Ok;
#else
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) return FileReadStatus::NotARegularFile;
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) return FileReadStatus::CannotOpen;
    if (file.isSequential()) return FileReadStatus::NotARegularFile;
    return FileReadStatus::Ok;
#endif
}

}  // namespace

BoundedFileRead ReadRegularFile(const QString& path, qint64 maxBytes) {
    BoundedFileRead result;
    QFile file;
    result.status = OpenRegular(path, file);
    if (result.status != FileReadStatus::Ok) return result;
    // One byte past the bound tells whether there is more.
    result.bytes.resize(maxBytes + 1);
    qint64 got = 0;
    while (got < maxBytes + 1) {
        const qint64 n = file.read(result.bytes.data() + got, maxBytes + 1 - got);
        if (n < 0) {
            result.status = FileReadStatus::CannotOpen;
            result.bytes.clear();
            return result;
        }
        if (n == 0) break;
        got += n;
    }
    result.truncated = got > maxBytes;
    result.bytes.truncate(qMin(got, maxBytes));
    return result;
}
