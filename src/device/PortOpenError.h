#pragma once

#include <QString>

// Why a serial port did not open, in Russian: the line the user reads under
// "Не удалось открыть порт..." and the exchange log records. The serial links
// choose the reason; the texts live here so that every link words them alike.

QString PortNotFoundReason(const QString& path);
// On Linux with the one command that gives access, when joining the group
// that owns the device file would.
QString PortAccessDeniedReason(const QString& path);
// pid: the holder named by its lock file, 0 when none names it.
QString PortHeldReason(qint64 pid = 0);
QString PortNotSerialReason(const QString& path);
QString PortSystemErrorReason(const QString& systemText);
// Input waits unread on a port that never answered as the device.
QString PortUnreadInputReason(const QString& path);

#ifdef Q_OS_UNIX
// The reason for an errno of opening or setting up the port.
QString PortErrnoReason(int error, const QString& path);
#endif
