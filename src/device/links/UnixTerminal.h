#pragma once

#include <QtGlobal>

#ifdef Q_OS_UNIX

#include <termios.h>

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

// A terminal as an open found it: its line settings (hang-up on close
// included) and whether the open asked the driver for low latency. The close
// puts both back, so that a port of other equipment is left as it was.
struct FoundTerminal {
    termios settings{};
    bool settingsKnown = false;
    bool lowLatencySet = false;
};

// Remembers the terminal's settings and asks the driver to pass every
// received byte on at once (many USB adapters otherwise hold each answer for
// up to 16 ms); a driver or a pseudo-terminal without the setting is left as
// it is.
FoundTerminal TakeTerminal(int fd);
// Puts back what TakeTerminal found, before the descriptor is closed.
void ReturnTerminal(int fd, const FoundTerminal& found);

// Whether received input waits unread on the terminal. In canonical mode the
// driver counts only whole lines.
bool UnreadInput(int fd);

// Waits until the bytes the driver holds have left the port, or the deadline
// passes (false); tcdrain would wait without a bound.
bool WaitUntilSent(int fd, int baudRate, QDeadlineTimer deadline);

// Drops the input that has arrived, then what arrives until the line has been
// quiet for quietMs, or boundMs have passed.
void DiscardUntilQuiet(int fd, int quietMs, int boundMs);

#endif
