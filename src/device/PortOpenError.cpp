#include "device/PortOpenError.h"

#ifdef Q_OS_UNIX
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <vector>
#endif

namespace {

#ifdef Q_OS_LINUX
// The group whose members may read and write the device, or empty when joining
// a group would not help (root's group, or no group access at all).
QString GroupGivingAccess(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) return {};
    if (info.st_gid == 0 || (info.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP)) return {};
    long size = ::sysconf(_SC_GETGR_R_SIZE_MAX);
    std::vector<char> buffer(size_t(size > 0 ? size : 4096));
    group entry{};
    group* found = nullptr;
    while (::getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) == ERANGE)
        buffer.resize(buffer.size() * 2);
    return found ? QString::fromLocal8Bit(found->gr_name) : QString();
}
#endif

}  // namespace

QString PortNotFoundReason(const QString& path) {
    return QStringLiteral("Порт %1 в системе не найден.").arg(path);
}

QString PortAccessDeniedReason(const QString& path) {
    QString reason = QStringLiteral("Нет прав на доступ к порту %1.").arg(path);
#ifdef Q_OS_LINUX
    const QString group = GroupGivingAccess(path);
    if (!group.isEmpty()) {
        reason += QStringLiteral(
                      "\nЧтобы получить доступ, выполните sudo usermod -aG %1 $USER "
                      "и войдите в систему заново.")
                      .arg(group);
    }
#endif
    return reason;
}

QString PortHeldReason(qint64 pid) {
    if (pid > 0) return QStringLiteral("Порт занят другой программой (процесс %1).").arg(pid);
    return QStringLiteral("Порт занят другой программой.");
}

QString PortNotSerialReason(const QString& path) {
    return QStringLiteral("%1 не является последовательным портом.").arg(path);
}

QString PortSystemErrorReason(const QString& systemText) {
    return QStringLiteral("Ошибка системы: %1.").arg(systemText);
}

QString PortUnreadInputReason(const QString& path) {
    return QStringLiteral(
               "В порту %1 есть непрочитанные данные: порт, видимо, использует другая "
               "программа.")
        .arg(path);
}

#ifdef Q_OS_UNIX
QString PortErrnoReason(int error, const QString& path) {
    switch (error) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
        // A serial device file without a port behind it (a COM number the
        // machine does not have) opens, but the first use fails.
        case EIO:
            return PortNotFoundReason(path);
        case EACCES:
        case EPERM:
            return PortAccessDeniedReason(path);
        case EBUSY:
        case EWOULDBLOCK:
            return PortHeldReason();
        case ENOTTY:
            return PortNotSerialReason(path);
        default:
            return PortSystemErrorReason(qt_error_string(error));
    }
}
#endif
