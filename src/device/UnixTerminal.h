#pragma once

#include <QtGlobal>

#ifdef Q_OS_UNIX

#include <QDeadlineTimer>
#include <QString>

// What both serial links do with a Unix terminal device that QSerialPort
// does not: look for another program before taking the port, and bound the
// waits that the system calls would leave unbounded.

// The process id in a UUCP lock file that a live process has left for the
// device (the convention QSerialPort and others follow), or 0.
qint64 PortLockOwner(const QString& devicePath);

// Opens the terminal for reading and writing, refusing it when another program
// holds it: by a lock file, by its exclusive flag (which the kernel lets root
// past) or by flock. The descriptor keeps the flock; -1 with the reason in
// `reason` when the port does not open.
int OpenTerminal(const QString& path, QString& reason);

// Asks the driver to pass every received byte on at once; many USB adapters
// otherwise hold each answer for up to 16 ms. A driver or a pseudo-terminal
// without the setting is left as it is.
void RequestLowLatency(int fd);

// Waits until the bytes the driver holds have left the port, or the deadline
// passes (false); tcdrain would wait without a bound.
bool WaitUntilSent(int fd, int baudRate, QDeadlineTimer deadline);

// Reads and drops what arrives until the line has been quiet for quietMs, or
// boundMs have passed.
void DiscardUntilQuiet(int fd, int quietMs, int boundMs);

#endif
