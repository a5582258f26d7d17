#include "shell/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

QString FileOpenFailureCause(const QString& path) {
    if (path.isEmpty()) return QStringLiteral("имя файла не задано");
    const QFileInfo info(path);
    if (!info.exists()) {
        if (info.isSymLink()) return QStringLiteral("ссылка ведёт на файл, которого нет");
        if (!info.dir().exists()) return QStringLiteral("папка файла не найдена");
        return QStringLiteral("файл не найден");
    }
    if (info.isDir()) return QStringLiteral("это папка, а не файл");
    if (!info.isFile()) return QStringLiteral("это не файл, а устройство или канал");
    if (!info.isReadable()) return QStringLiteral("нет прав на чтение файла");
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly)) return probe.errorString();
    return QStringLiteral("файл не читается");
}

QString FileMessage(const QString& message, const QString& path, const QString& cause) {
    QString text = message + QStringLiteral("\n«%1»").arg(QDir::toNativeSeparators(path));
    if (!cause.isEmpty()) text += QStringLiteral(": ") + cause + QLatin1Char('.');
    return text;
}

bool OpenRegularFile(QFile& file, const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile()) return false;
#ifdef Q_OS_UNIX
    // The name may be replaced by a FIFO between the check and the open: the
    // open does not wait, and what was opened is checked again.
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return false;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags != -1) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
#else
    file.setFileName(path);
    return file.open(QIODevice::ReadOnly);
#endif
}
