#include "shell/FolderRefusal.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstdlib>

bool FolderRefusesNewFiles(const QString& folder) {
    QByteArray probe = QFile::encodeName(folder) + "/.zelvo-probe-XXXXXX";
    const int fd = mkstemp(probe.data());
    if (fd >= 0) {
        close(fd);
        unlink(probe.constData());
        return false;
    }
    return errno == EACCES || errno == EPERM;
}

#else

bool FolderRefusesNewFiles(const QString&) {
    return false;
}

#endif
