#include "device/links/NetworkLink.h"

#include <algorithm>

#include "device/PortOpenError.h"
#include "device/links/NetworkAddress.h"

NetworkLink::NetworkLink(SocketFactory sockets) : sockets_(std::move(sockets)) {}

NetworkLink::~NetworkLink() {
    {
        const std::lock_guard<std::mutex> guard(keptLock_);
        stopping_ = true;
    }
    keptChanged_.notify_all();
    if (closer_.joinable()) closer_.join();
    dropConnection();
}

bool NetworkLink::open(const QString& path) {
    openDeadline_ = QDeadlineTimer(std::max(1, openTimeoutMs_));
    configureError_.clear();
    unsent_.clear();
    bool reuse = false;
    {
        const std::lock_guard<std::mutex> guard(keptLock_);
        reuse = kept_ && socket_ && socket_->isOpen() && path_ == path;
        kept_ = false;
    }
    inUse_ = true;
    broken_ = false;
    // A kept connection the server has closed meanwhile is replaced; what
    // arrived on it while it was kept stays for inputWaiting().
    if (reuse && pump(0) >= 0) {
        openError_.clear();
        return true;
    }
    // A server still closing the port for the connection before (this
    // program's previous command, say) turns the next one away with a line
    // of text: tried again until the deadline.
    QByteArray turnedAway;
    for (;;) {
        dropConnection();
        broken_ = false;
        const bool up = connectFresh(path, openDeadline_);
        bool turned = false;
        if (up) {
            turned = closedAfterAccept(turnedAway);
        } else if (broken_) {
            // Closed while the session was being agreed on.
            turned = true;
            turnedAway = data_.isNull() ? QByteArray("") : data_;
        }
        if (up && !turned) {
            openError_.clear();
            return true;
        }
        if (!turned) break;
        openError_ = ServerBusyReason(server_, turnedAway);
        if (openDeadline_.remainingTime() < RetryPauseMs) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(RetryPauseMs));
    }
    dropConnection();
    inUse_ = false;
    return false;
}

bool NetworkLink::closedAfterAccept(QByteArray& message) {
    // A refusal comes at once; a server that takes the connection stays quiet
    // until it is asked. SettleMs is paid once per connection, not per
    // exchange, as the connection is kept.
    const QDeadlineTimer settle(std::min<qint64>(SettleMs, openDeadline_.remainingTime()));
    // What has come is read out even when the time is up: a close that
    // follows the text is already there. Bounded for a server that streams.
    int n = 0;
    for (int i = 0; i < 64; ++i) {
        n = pump(int(std::max<qint64>(0, settle.remainingTime())));
        if (n <= 0) break;
    }
    if (n >= 0) return false;
    message = data_.isNull() ? QByteArray("") : data_;
    return true;
}

bool NetworkLink::connectFresh(const QString& path, QDeadlineTimer deadline) {
    const std::optional<NetworkAddress> address = ParseNetworkAddress(path);
    if (!address) {
        openError_ = NetworkAddressInvalidReason(path);
        return false;
    }
    path_ = path;
    server_ = address->server();
    socket_ = sockets_();
    QString systemText;
    switch (socket_->connect(address->host, address->port, deadline, systemText)) {
        case NetSocket::ConnectResult::Connected:
            break;
        case NetSocket::ConnectResult::TimedOut:
            openError_ = ServerSilentReason(server_);
            return false;
        case NetSocket::ConnectResult::Refused:
            openError_ = ServerRefusedReason(server_);
            return false;
        case NetSocket::ConnectResult::NameNotFound:
            openError_ = ServerNameNotFoundReason(address->host);
            return false;
        case NetSocket::ConnectResult::Failed:
            openError_ = PortSystemErrorReason(systemText);
            return false;
    }
    return startSession(deadline, openError_);
}

void NetworkLink::dropConnection() {
    const std::lock_guard<std::mutex> guard(keptLock_);
    kept_ = false;
    if (socket_) socket_->close();
    socket_.reset();
    data_.clear();
    speed_ = 0;
    resetSession();
}

void NetworkLink::configure(int baudRate) {
    if (!inUse_ || !socket_) return;
    if (baudRate <= 0 || baudRate == speed_) return;
    if (setSpeed(baudRate, openDeadline_, configureError_)) {
        speed_ = baudRate;
        configureError_.clear();
    } else {
        broken_ = true;
    }
}

int NetworkLink::pump(int waitMs) {
    if (!socket_) return -1;
    QByteArray wire;
    const int n = socket_->receive(wire, waitMs);
    if (n < 0) {
        broken_ = true;
        return -1;
    }
    if (n > 0) decode(wire, data_);
    return n;
}

bool NetworkLink::sendWire(const QByteArray& wire, QDeadlineTimer deadline) {
    if (!socket_) return false;
    QByteArray rest = wire;
    while (!rest.isEmpty()) {
        const qint64 n = socket_->send(rest);
        if (n < 0) {
            broken_ = true;
            return false;
        }
        rest.remove(0, int(n));
        if (rest.isEmpty()) break;
        const qint64 wait = deadline.remainingTime();
        if (wait == 0 || !socket_->waitWritable(int(std::max<qint64>(0, wait)))) return false;
    }
    return true;
}

qint64 NetworkLink::write(const QByteArray& bytes) {
    if (!inUse_ || !socket_ || broken_) return 0;
    const QByteArray wire = encode(bytes);
    const qint64 n = socket_->send(wire);
    if (n < 0) {
        broken_ = true;
        return 0;
    }
    unsent_ = wire.mid(int(n));
    return bytes.size();
}

bool NetworkLink::drain(QDeadlineTimer deadline) {
    if (!inUse_ || !socket_ || broken_) return false;
    // The line is at the server's end: once the system has taken the request,
    // nothing here can tell when its last byte leaves the remote port.
    const QByteArray rest = unsent_;
    unsent_.clear();
    return sendWire(rest, deadline);
}

QByteArray NetworkLink::read(int expected, int byteTimeoutMs, int totalTimeoutMs) {
    QByteArray answer;
    if (!inUse_ || !socket_ || expected <= 0) return answer;
    const QDeadlineTimer total(std::max(0, totalTimeoutMs));
    const int before = int(data_.size());
    while (data_.size() < expected) {
        qint64 wait = total.remainingTime();
        if (wait <= 0) break;
        // The gap limit counts only between bytes, as on the device's line.
        if (data_.size() > before && byteTimeoutMs > 0)
            wait = std::min<qint64>(wait, byteTimeoutMs);
        const int n = pump(int(wait));
        if (n <= 0) break;  // quiet for the wait, or the connection is gone
    }
    answer = data_.left(expected);
    data_.remove(0, int(answer.size()));
    return answer;
}

void NetworkLink::discardLateInput(int quietMs, int boundMs) {
    if (!inUse_ || !socket_) return;
    const QDeadlineTimer bound(std::max(0, boundMs));
    // What is there already, then what comes until the line is quiet.
    data_.clear();
    for (int i = 0; i < 64 && pump(0) > 0; ++i) data_.clear();
    data_.clear();
    if (quietMs <= 0) return;
    for (;;) {
        const qint64 wait = std::min<qint64>(quietMs, bound.remainingTime());
        if (wait <= 0) return;
        const int n = pump(int(wait));
        data_.clear();
        if (n <= 0) return;
    }
}

bool NetworkLink::inputWaiting() {
    if (!inUse_ || !socket_) return false;
    pump(0);
    return !data_.isEmpty();
}

void NetworkLink::close() {
    if (!inUse_) return;
    inUse_ = false;
    unsent_.clear();
    if (broken_ || !socket_ || !socket_->isOpen()) {
        dropConnection();
        return;
    }
    bool wake = false;
    {
        const std::lock_guard<std::mutex> guard(keptLock_);
        kept_ = true;
        keptSince_.start();
        if (!closer_.joinable()) closer_ = std::thread([this] { closerLoop(); });
        // A closer already timing a kept connection sees the new time when
        // its wait ends: no wake-up per exchange.
        wake = closerIdle_;
    }
    if (wake) keptChanged_.notify_all();
}

void NetworkLink::release() {
    if (inUse_) return;
    dropConnection();
}

void NetworkLink::closerLoop() {
    std::unique_lock<std::mutex> guard(keptLock_);
    while (!stopping_) {
        if (!kept_) {
            closerIdle_ = true;
            keptChanged_.wait(guard);
            closerIdle_ = false;
            continue;
        }
        const qint64 left = LingerMs - keptSince_.elapsed();
        if (left > 0) {
            keptChanged_.wait_for(guard, std::chrono::milliseconds(left));
            continue;
        }
        kept_ = false;
        if (socket_) socket_->close();
        // The rest (the decoder's state, the speed) belongs to the link's own
        // thread and is reset at its next open: a closed socket is never reused.
    }
}
