#pragma once

#include <QtGlobal>

#ifdef Q_OS_UNIX

#include "device/SerialLink.h"

// A serial port through the system calls. Each command opens and closes the
// port, and QSerialPort's open writes, syncs and deletes a lock file every
// time: on a thousand-record transfer that costs milliseconds per exchange,
// more than the line itself. This link keeps the same guarantees without it:
// an exclusive open (TIOCEXCL and flock), respect for the lock file of a
// program that holds the port, 8N1 raw at the requested speed, and a read
// that returns the moment the answer is complete.
class PosixSerialLink : public SerialLink {
public:
    ~PosixSerialLink() override;
    bool open(const QString& path) override;
    void configure(int baudRate) override;
    qint64 write(const QByteArray& bytes) override;
    QByteArray read(int expected, int byteTimeoutMs, int totalTimeoutMs) override;
    void close() override;

private:
    int fd_ = -1;
};

// True when a live process has left a UUCP lock file for
// the device (the convention QSerialPort and others follow).
bool PortLockedByOtherProgram(const QString& devicePath);

#endif
