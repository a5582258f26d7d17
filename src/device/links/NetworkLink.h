#pragma once

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "device/SerialLink.h"
#include "device/links/NetSocket.h"

// What every link to a port over the network shares: the connection with its
// deadline, the reads and writes with the serial links' guarantees, and the
// connection kept between exchanges. A kind of link (TcpLink, Rfc2217Link)
// adds only what its wire form needs through the hooks below.
//
// Each exchange opens and closes the link, but a connection per exchange
// would cost a connect, the server's open of its serial port and, over
// Telnet, a negotiation every time; servers may also still be tearing the old
// connection down when the next one arrives and refuse it. So close() keeps
// the connection for LingerMs: an open of the same port within that time goes
// on with it, and after it the connection is closed, so that the port is free
// for other clients as it is after a serial link's close.
class NetworkLink : public SerialLink {
public:
    using SocketFactory = std::function<std::unique_ptr<NetSocket>()>;
    static constexpr int LingerMs = 1000;
    // How long a new connection is watched for the server turning it away,
    // and the pause before the next try.
    static constexpr int SettleMs = 30;
    static constexpr int RetryPauseMs = 50;

    explicit NetworkLink(SocketFactory sockets = NewSystemNetSocket);
    ~NetworkLink() override;
    NetworkLink(const NetworkLink&) = delete;
    NetworkLink& operator=(const NetworkLink&) = delete;

    bool open(const QString& path) override;
    void configure(int baudRate) override;
    qint64 write(const QByteArray& bytes) override;
    bool drain(QDeadlineTimer deadline) override;
    QByteArray read(int expected, int byteTimeoutMs, int totalTimeoutMs) override;
    void discardLateInput(int quietMs, int boundMs) override;
    bool inputWaiting() override;
    void close() override;
    QString lastOpenError() const override { return openError_; }
    QString lastConfigureError() const override { return configureError_; }
    void setOpenTimeout(int timeoutMs) override { openTimeoutMs_ = timeoutMs; }

    // Closes a kept connection now rather than after LingerMs.
    void release();

protected:
    // Runs once on a new connection, before its first exchange; false with
    // the reason in `reason` when the port cannot be used through it.
    virtual bool startSession(QDeadlineTimer deadline, QString& reason) {
        Q_UNUSED(deadline);
        Q_UNUSED(reason);
        return true;
    }
    // Sets the remote port's speed; false with the reason when it did not take
    // it. A raw connection has no say in the speed.
    virtual bool setSpeed(int baudRate, QDeadlineTimer deadline, QString& reason) {
        Q_UNUSED(baudRate);
        Q_UNUSED(deadline);
        Q_UNUSED(reason);
        return true;
    }
    // The port's bytes as they go on the wire, and back.
    virtual QByteArray encode(const QByteArray& bytes) { return bytes; }
    virtual void decode(const QByteArray& wire, QByteArray& data) { data.append(wire); }
    // Forgets what the kind knows of a connection that is gone.
    virtual void resetSession() {}

    // Takes what has arrived into the port's bytes, waiting up to waitMs for
    // the first of it: the count of bytes off the wire, -1 when the
    // connection is gone.
    int pump(int waitMs);
    // Sends `wire` as it is, waiting for the system to take it no longer
    // than the deadline.
    bool sendWire(const QByteArray& wire, QDeadlineTimer deadline);
    QString server() const { return server_; }

private:
    bool connectFresh(const QString& path, QDeadlineTimer deadline);
    // Whether the server closed the new connection right after taking it;
    // what it said then in `message`.
    bool closedAfterAccept(QByteArray& message);
    void dropConnection();
    void closerLoop();

    SocketFactory sockets_;
    std::unique_ptr<NetSocket> socket_;
    QString path_;       // the port name of the connection
    QString server_;     // HOST:PORT
    QByteArray data_;    // the port's bytes that arrived and were not read
    QByteArray unsent_;  // the wire form of a request the system has not taken
    int openTimeoutMs_ = 2500;
    QDeadlineTimer openDeadline_;
    int speed_ = 0;  // the speed the remote port has taken on this connection
    bool inUse_ = false;
    bool broken_ = false;  // the session cannot go on: closed, not kept
    QString openError_;
    QString configureError_;

    // The kept connection and the thread that closes it when it has idled.
    std::mutex keptLock_;
    std::condition_variable keptChanged_;
    bool kept_ = false;
    QElapsedTimer keptSince_;
    bool stopping_ = false;
    bool closerIdle_ = true;  // waiting for a connection to be kept, not timing one
    std::thread closer_;
};
