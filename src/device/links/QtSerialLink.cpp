#include "device/links/QtSerialLink.h"

#include <QDeadlineTimer>
#include <algorithm>

#include "device/PortOpenError.h"
#include "device/links/UnixTerminal.h"

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// The reason QSerialPort gives, in the user's words; the checks before
// QSerialPort's open have already named a holder.
QString OpenErrorReason(const QSerialPort& port) {
    switch (port.error()) {
        case QSerialPort::DeviceNotFoundError:
            return PortNotFoundReason(port.portName());
        default:
            return PortSystemErrorReason(port.errorString());
    }
}

}  // namespace

QtSerialLink::~QtSerialLink() {
    close();
}

bool QtSerialLink::open(const QString& path) {
    close();
    openError_.clear();
#ifdef Q_OS_UNIX
    guard_ = OpenTerminal(path, openError_);
    if (guard_ < 0) return false;
    found_ = TakeTerminal(guard_);
#endif
    port_.setPortName(path);
    if (!port_.open(QIODevice::ReadWrite)) {
        openError_ = OpenErrorReason(port_);
        close();
        return false;
    }
    return true;
}

bool QtSerialLink::inputWaiting() {
#ifdef Q_OS_UNIX
    return guard_ >= 0 && UnreadInput(guard_);
#else
    return port_.bytesAvailable() > 0;
#endif
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
    const qint64 taken = port_.write(bytes);
    return taken < 0 ? 0 : taken;
}

bool QtSerialLink::drain(QDeadlineTimer deadline) {
    while (port_.bytesToWrite() > 0) {
        const int wait = int(deadline.remainingTime());
        if (wait <= 0 || !port_.waitForBytesWritten(wait)) return false;
    }
#ifdef Q_OS_UNIX
    return WaitUntilSent(int(port_.handle()), port_.baudRate(), deadline);
#else
    return true;
#endif
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

void QtSerialLink::discardLateInput(int quietMs, int boundMs) {
    const QDeadlineTimer bound(boundMs);
    port_.clear(QSerialPort::Input);
    for (;;) {
        const int wait = int(std::min<qint64>(quietMs, bound.remainingTime()));
        if (wait <= 0 || !port_.waitForReadyRead(wait)) return;
        port_.clear(QSerialPort::Input);
    }
}

void QtSerialLink::close() {
    if (port_.isOpen()) {
        // Output that flow control still holds back would keep the close
        // waiting in the driver.
        port_.clear(QSerialPort::Output);
        port_.close();
    }
#ifdef Q_OS_UNIX
    // QSerialPort's close was not the last one: the settings go back through
    // the guard, and the hang-up on close is the one the port had.
    if (guard_ >= 0) {
        ReturnTerminal(guard_, found_);
        ::close(guard_);
    }
    guard_ = -1;
#endif
}
