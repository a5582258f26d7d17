#include <QtGlobal>

#ifdef Q_OS_UNIX

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "device/links/NetSocket.h"

namespace {

struct Resolved {
    int error = 0;
    std::vector<sockaddr_storage> addresses;
    std::vector<socklen_t> lengths;
};

std::shared_ptr<Resolved> Resolve(const QByteArray& host, quint16 port, QDeadlineTimer deadline,
                                  bool& inTime) {
    auto result = std::make_shared<Resolved>();
    inTime = ResolveBefore(deadline, [result, host, port] {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_protocol = IPPROTO_TCP;
        addrinfo* list = nullptr;
        result->error =
            ::getaddrinfo(host.constData(), QByteArray::number(port).constData(), &hints, &list);
        for (addrinfo* a = list; result->error == 0 && a; a = a->ai_next) {
            sockaddr_storage address{};
            std::memcpy(&address, a->ai_addr, std::min<size_t>(a->ai_addrlen, sizeof address));
            result->addresses.push_back(address);
            result->lengths.push_back(a->ai_addrlen);
        }
        if (list) ::freeaddrinfo(list);
    });
    return result;
}

int PollOne(int fd, short events, int waitMs) {
    for (;;) {
        pollfd one{fd, events, 0};
        const int ready = ::poll(&one, 1, waitMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return ready;
        return one.revents;
    }
}

class PosixNetSocket : public NetSocket {
public:
    ~PosixNetSocket() override { close(); }

    ConnectResult connect(const QString& host, quint16 port, QDeadlineTimer deadline,
                          QString& systemText) override {
        close();
        bool inTime = false;
        const auto resolved = Resolve(host.toUtf8(), port, deadline, inTime);
        if (!inTime) return ConnectResult::TimedOut;
        if (resolved->error == EAI_NONAME || resolved->error == EAI_FAIL
#ifdef EAI_NODATA
            || resolved->error == EAI_NODATA
#endif
        )
            return ConnectResult::NameNotFound;
        if (resolved->error != 0) {
            systemText = QString::fromLocal8Bit(::gai_strerror(resolved->error));
            return ConnectResult::Failed;
        }
        ConnectResult result = ConnectResult::NameNotFound;
        for (size_t i = 0; i < resolved->addresses.size(); ++i) {
            const auto* address = reinterpret_cast<const sockaddr*>(&resolved->addresses[i]);
            result = connectTo(address, resolved->lengths[i], deadline, systemText);
            if (result == ConnectResult::Connected || result == ConnectResult::TimedOut) break;
        }
        return result;
    }

    qint64 send(const QByteArray& bytes) override {
        if (fd_ < 0) return -1;
        qint64 sent = 0;
        while (sent < bytes.size()) {
            const ssize_t n =
                ::send(fd_, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
            if (n > 0) {
                sent += n;
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                break;
            } else {
                return -1;
            }
        }
        return sent;
    }

    bool waitWritable(int waitMs) override {
        if (fd_ < 0) return false;
        const int events = PollOne(fd_, POLLOUT, std::max(0, waitMs));
        return events > 0 && !(events & (POLLERR | POLLHUP | POLLNVAL));
    }

    int receive(QByteArray& into, int waitMs) override {
        if (fd_ < 0) return -1;
        const int events = PollOne(fd_, POLLIN, std::max(0, waitMs));
        if (events < 0) return -1;
        if (events == 0) return 0;
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
            if (n > 0) {
                into.append(buffer, int(n));
                return int(n);
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return 0;
            return -1;  // 0: the other side closed the connection
        }
    }

    void close() override {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }
    bool isOpen() const override {
        return fd_ >= 0;
    }

private:
    ConnectResult connectTo(const sockaddr* address, socklen_t length, QDeadlineTimer deadline,
                            QString& systemText) {
        const int fd = ::socket(address->sa_family, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
        if (fd < 0) {
            systemText = qt_error_string(errno);
            return ConnectResult::Failed;
        }
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        // A request is one small frame that waits for its answer: sent at once.
        const int on = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        int error = 0;
        if (::connect(fd, address, length) != 0) {
            error = errno;
            if (error == EINPROGRESS || error == EINTR) {
                const int events =
                    PollOne(fd, POLLOUT, int(std::max<qint64>(0, deadline.remainingTime())));
                if (events == 0) {
                    ::close(fd);
                    return ConnectResult::TimedOut;
                }
                socklen_t size = sizeof error;
                if (events < 0 || ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
                    error = errno ? errno : EIO;
            }
        }
        if (error == 0) {
            fd_ = fd;
            return ConnectResult::Connected;
        }
        ::close(fd);
        if (error == ECONNREFUSED) return ConnectResult::Refused;
        if (error == ETIMEDOUT) return ConnectResult::TimedOut;
        systemText = qt_error_string(error);
        return ConnectResult::Failed;
    }

    int fd_ = -1;
};

}  // namespace

std::unique_ptr<NetSocket> NewSystemNetSocket() {
    return std::make_unique<PosixNetSocket>();
}

#endif
