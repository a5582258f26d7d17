#pragma once

#include <QByteArray>
#include <QString>

// The one seam between the protocol and whatever carries its bytes: a real
// serial port, the in-process emulated device, or a test fake. One exchange is
// open → configure → write → read → close; nothing is kept open in between.
class SerialLink {
public:
    virtual ~SerialLink() = default;

    // Opens the port exclusively; false when it does not exist or is held.
    virtual bool open(const QString& path) = 0;
    // 8 data bits, no parity, 1 stop bit at the given speed.
    virtual void configure(int baudRate) = 0;
    virtual qint64 write(const QByteArray& bytes) = 0;
    // Returns as soon as `expected` bytes have arrived, at the first gap longer
    // than byteTimeoutMs between two bytes (0 switches the gap limit off), or
    // when totalTimeoutMs have passed since the read began.
    virtual QByteArray read(int expected, int byteTimeoutMs, int totalTimeoutMs) = 0;
    virtual void close() = 0;
};
