#pragma once

#include <QSerialPort>

#include "device/SerialLink.h"

// A real serial port through QSerialPort: exclusive open (lock file and
// TIOCEXCL on Unix, no sharing on Windows), 8N1 at the requested speed.
class QtSerialLink : public SerialLink {
public:
    bool open(const QString& path) override;
    void configure(int baudRate) override;
    qint64 write(const QByteArray& bytes) override;
    QByteArray read(int expected, int byteTimeoutMs, int totalTimeoutMs) override;
    void close() override;

private:
    QSerialPort port_;
};
