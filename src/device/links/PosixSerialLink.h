#pragma once

#include <QtGlobal>

#ifdef Q_OS_UNIX

#include "device/SerialLink.h"
#include "device/links/UnixTerminal.h"

// A serial port through the system calls. Each command opens and closes the
// port, and QSerialPort's open writes, syncs and deletes a lock file every
// time: on a thousand-record transfer that costs milliseconds per exchange,
// more than the line itself. This link keeps the same guarantees without it:
// an exclusive open (TIOCEXCL and flock) that refuses a port another program
// holds, respect for the lock file of such a program, 8N1 raw at the requested
// speed, and a read that returns the moment the answer is complete. The close
// leaves the port as the open found it.
class PosixSerialLink : public SerialLink {
public:
    ~PosixSerialLink() override;
    bool open(const QString& path) override;
    void configure(int baudRate) override;
    qint64 write(const QByteArray& bytes) override;
    bool drain(QDeadlineTimer deadline) override;
    QByteArray read(int expected, int byteTimeoutMs, int totalTimeoutMs) override;
    void discardLateInput(int quietMs, int boundMs) override;
    bool inputWaiting() override;
    void close() override;
    QString lastOpenError() const override { return openError_; }

private:
    // Writes what the driver takes now; false when the port fails.
    bool pushUnsent();

    int fd_ = -1;
    bool exclusiveSet_ = false;  // the flag is ours to clear on close
    FoundTerminal found_;        // put back on close
    int baudRate_ = 0;
    QByteArray unsent_;
    QString openError_;
};

#endif
