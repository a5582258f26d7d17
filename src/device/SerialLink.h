#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>

// The one seam between the protocol and whatever carries its bytes: a real
// serial port, the in-process emulated device, or a test fake. One exchange is
// open → configure → write → drain → read → close; a command keeps nothing
// open in between (the device search keeps a port open for all its speeds).
class SerialLink {
public:
    virtual ~SerialLink() = default;

    // Opens the port exclusively; false when it does not exist, cannot be
    // opened or is held by another program (lastOpenError() says which).
    virtual bool open(const QString& path) = 0;
    // 8 data bits, no parity, 1 stop bit at the given speed.
    virtual void configure(int baudRate) = 0;
    // Hands the request to the port without waiting for the line; the count of
    // bytes taken (fewer than given when the port refuses them).
    virtual qint64 write(const QByteArray& bytes) = 0;
    // Waits until everything written has left the port, but never past the
    // deadline; false when it has not. A link without a line of its own (the
    // in-process device, a test fake) has nothing in flight.
    virtual bool drain(QDeadlineTimer deadline) {
        Q_UNUSED(deadline);
        return true;
    }
    // Returns as soon as `expected` bytes have arrived, at the first gap longer
    // than byteTimeoutMs between two bytes (0 switches the gap limit off), or
    // when totalTimeoutMs have passed since the read began.
    virtual QByteArray read(int expected, int byteTimeoutMs, int totalTimeoutMs) = 0;
    // Drops the input that has arrived, then whatever arrives until the line
    // has been quiet for quietMs, or boundMs have passed (0 and 0: only what
    // is there). A link without a line of its own has nothing to drop.
    virtual void discardLateInput(int quietMs, int boundMs) {
        Q_UNUSED(quietMs);
        Q_UNUSED(boundMs);
    }
    // Whether input is waiting that nobody has read, right after the open.
    // open() keeps such input: on a port that never answered as the device it
    // belongs to another program, and must be left there.
    virtual bool inputWaiting() { return false; }
    // Discards output the line has not taken, so that the close never waits
    // for it, and leaves the port's settings as open() found them.
    virtual void close() = 0;

    // Why the last open failed, in Russian for the user; empty after a
    // successful open or when the link cannot tell.
    virtual QString lastOpenError() const { return {}; }

    // A port reached over the network may refuse the speed, and says so only
    // when configure() asks: why it did, empty when it took it (and for a
    // link whose port never refuses).
    virtual QString lastConfigureError() const { return {}; }
    // How long open() may wait for a port that is not at hand (a server on
    // the network); a local port opens at once and ignores it.
    virtual void setOpenTimeout(int timeoutMs) { Q_UNUSED(timeoutMs); }
};
