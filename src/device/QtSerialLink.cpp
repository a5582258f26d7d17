#include "device/QtSerialLink.h"

#include <QDeadlineTimer>

bool QtSerialLink::open(const QString& path) {
    if (port_.isOpen()) port_.close();
    port_.setPortName(path);
    if (!port_.open(QIODevice::ReadWrite)) return false;
    // An answer that came too late for the previous exchange must not be taken
    // for the start of the next one.
    port_.clear(QSerialPort::Input);
    return true;
}

void QtSerialLink::configure(int baudRate) {
    // A speed the adapter refuses is not an error: the exchange goes ahead with
    // whatever the port accepted.
    port_.setBaudRate(baudRate);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
}

qint64 QtSerialLink::write(const QByteArray& bytes) {
    const qint64 written = port_.write(bytes);
    // Blocking write: everything is handed to the driver before the read starts.
    while (port_.bytesToWrite() > 0) {
        if (!port_.waitForBytesWritten(1000)) break;
    }
    return written < 0 ? 0 : written;
}

QByteArray QtSerialLink::read(int expected, int byteTimeoutMs, int totalTimeoutMs) {
    QByteArray answer;
    if (expected <= 0) return answer;
    answer.reserve(expected);
    QDeadlineTimer total(totalTimeoutMs);
    while (answer.size() < expected) {
        const qint64 buffered = port_.bytesAvailable();
        if (buffered > 0) {
            answer += port_.read(expected - answer.size());
            continue;
        }
        int wait = int(total.remainingTime());
        if (wait <= 0) break;
        // The gap limit counts only between bytes, as on the device's line.
        if (!answer.isEmpty() && byteTimeoutMs > 0) wait = std::min(wait, byteTimeoutMs);
        if (!port_.waitForReadyRead(wait)) break;
    }
    return answer;
}

void QtSerialLink::close() {
    if (port_.isOpen()) port_.close();
}
