#pragma once

#include <QSerialPort>

#include "device/SerialLink.h"
#ifdef Q_OS_UNIX
#include "device/links/UnixTerminal.h"
#endif

// A real serial port through QSerialPort: exclusive open (lock file and
// TIOCEXCL), 8N1 at the requested speed. Not built for Windows, where Qt
// SerialPort's overlapped reads never complete under Wine (Win32SerialLink). On
// Unix it first takes the port the way PosixSerialLink does, because
// QSerialPort sets the exclusive flag without looking for another program's,
// and clears it on close whoever set it.
class QtSerialLink : public SerialLink {
public:
    ~QtSerialLink() override;
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
    QSerialPort port_;
    QString openError_;
#ifdef Q_OS_UNIX
    // Our own descriptor of the terminal, held while the port is open: it
    // carries the flock that keeps other programs out, as PosixSerialLink's does.
    int guard_ = -1;
    FoundTerminal found_;  // put back on close
#endif
};
