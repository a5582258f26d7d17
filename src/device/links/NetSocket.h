#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <functional>
#include <memory>

// A TCP connection through the system's own sockets, synchronous with
// deadlines as the serial links are: no event loop, usable from any one
// thread. The protocol above it (NetworkLink and its kinds) never sees a
// system call; a test gives it a fake instead.
class NetSocket {
public:
    enum class ConnectResult { Connected, TimedOut, Refused, NameNotFound, Failed };

    virtual ~NetSocket() = default;
    // Resolves `host` and connects to the first of its addresses that accepts,
    // never past the deadline. `systemText` says what failed for Failed.
    virtual ConnectResult connect(const QString& host, quint16 port, QDeadlineTimer deadline,
                                  QString& systemText) = 0;
    // What the system takes now without waiting; -1 when the connection failed.
    virtual qint64 send(const QByteArray& bytes) = 0;
    // Waits up to waitMs (0: not at all) until sending would not block;
    // false when the connection failed or the time passed.
    virtual bool waitWritable(int waitMs) = 0;
    // Appends what has arrived, waiting up to waitMs for the first byte (0:
    // only what is there). The count appended, 0 when nothing came in time,
    // -1 when the other side closed the connection or it failed.
    virtual int receive(QByteArray& into, int waitMs) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
};

std::unique_ptr<NetSocket> NewSystemNetSocket();

// Runs `resolve` on a thread of its own and waits for it no longer than the
// deadline: the system's name lookup takes no time-out. True when it finished
// in time; the job then owns nothing the caller still needs.
bool ResolveBefore(QDeadlineTimer deadline, std::function<void()> resolve);
