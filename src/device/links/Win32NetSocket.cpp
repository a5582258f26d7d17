#include <QtGlobal>

#ifdef Q_OS_WIN

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "device/links/NetSocket.h"

namespace {

// Winsock wants one start per process before any socket call.
bool WinsockStarted() {
    static const bool started = [] {
        WSADATA data{};
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

QString SystemText(int error) {
    wchar_t* text = nullptr;
    ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, DWORD(error), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString result = text ? QString::fromWCharArray(text).trimmed() : QString::number(error);
    if (text) ::LocalFree(text);
    return result;
}

struct Resolved {
    int error = 0;
    std::vector<sockaddr_storage> addresses;
    std::vector<int> lengths;
};

// select() rather than WSAPoll: the latter does not report a refused connect
// on every Windows version the program runs on.
int WaitFor(SOCKET s, bool write, int waitMs, bool& failed) {
    fd_set ready;
    fd_set broken;
    FD_ZERO(&ready);
    FD_ZERO(&broken);
    FD_SET(s, &ready);
    FD_SET(s, &broken);
    timeval wait{waitMs / 1000, (waitMs % 1000) * 1000};
    const int n = ::select(0, write ? nullptr : &ready, write ? &ready : nullptr, &broken, &wait);
    failed = n == SOCKET_ERROR || FD_ISSET(s, &broken);
    return n;
}

class Win32NetSocket : public NetSocket {
public:
    ~Win32NetSocket() override { close(); }

    ConnectResult connect(const QString& host, quint16 port, QDeadlineTimer deadline,
                          QString& systemText) override {
        close();
        if (!WinsockStarted()) {
            systemText = SystemText(::WSAGetLastError());
            return ConnectResult::Failed;
        }
        auto resolved = std::make_shared<Resolved>();
        const std::wstring name = host.toStdWString();
        const std::wstring service = QString::number(port).toStdWString();
        const bool inTime = ResolveBefore(deadline, [resolved, name, service] {
            ADDRINFOW hints{};
            hints.ai_family = AF_UNSPEC;
            hints.ai_socktype = SOCK_STREAM;
            hints.ai_protocol = IPPROTO_TCP;
            ADDRINFOW* list = nullptr;
            resolved->error = ::GetAddrInfoW(name.c_str(), service.c_str(), &hints, &list);
            for (ADDRINFOW* a = list; resolved->error == 0 && a; a = a->ai_next) {
                sockaddr_storage address{};
                std::memcpy(&address, a->ai_addr,
                            std::min<size_t>(size_t(a->ai_addrlen), sizeof address));
                resolved->addresses.push_back(address);
                resolved->lengths.push_back(int(a->ai_addrlen));
            }
            if (list) ::FreeAddrInfoW(list);
        });
        if (!inTime) return ConnectResult::TimedOut;
        if (resolved->error == WSAHOST_NOT_FOUND || resolved->error == WSANO_DATA)
            return ConnectResult::NameNotFound;
        if (resolved->error != 0) {
            systemText = SystemText(resolved->error);
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
        if (socket_ == INVALID_SOCKET) return -1;
        qint64 sent = 0;
        while (sent < bytes.size()) {
            const int n = ::send(socket_, bytes.constData() + sent, int(bytes.size() - sent), 0);
            if (n > 0) {
                sent += n;
            } else if (n == SOCKET_ERROR && ::WSAGetLastError() == WSAEWOULDBLOCK) {
                break;
            } else {
                return -1;
            }
        }
        return sent;
    }

    bool waitWritable(int waitMs) override {
        if (socket_ == INVALID_SOCKET) return false;
        bool failed = false;
        return WaitFor(socket_, true, std::max(0, waitMs), failed) > 0 && !failed;
    }

    int receive(QByteArray& into, int waitMs) override {
        if (socket_ == INVALID_SOCKET) return -1;
        bool failed = false;
        const int n = WaitFor(socket_, false, std::max(0, waitMs), failed);
        if (failed) return -1;
        if (n == 0) return 0;
        char buffer[4096];
        const int got = ::recv(socket_, buffer, int(sizeof buffer), 0);
        if (got > 0) {
            into.append(buffer, got);
            return got;
        }
        if (got == SOCKET_ERROR && ::WSAGetLastError() == WSAEWOULDBLOCK) return 0;
        return -1;  // 0: the other side closed the connection
    }

    void close() override {
        if (socket_ != INVALID_SOCKET) ::closesocket(socket_);
        socket_ = INVALID_SOCKET;
    }
    bool isOpen() const override { return socket_ != INVALID_SOCKET; }

private:
    ConnectResult connectTo(const sockaddr* address, int length, QDeadlineTimer deadline,
                            QString& systemText) {
        const SOCKET s = ::socket(address->sa_family, SOCK_STREAM, IPPROTO_TCP);
        if (s == INVALID_SOCKET) {
            systemText = SystemText(::WSAGetLastError());
            return ConnectResult::Failed;
        }
        u_long nonBlocking = 1;
        ::ioctlsocket(s, FIONBIO, &nonBlocking);
        // A request is one small frame that waits for its answer: sent at once.
        const BOOL on = TRUE;
        ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
        int error = 0;
        if (::connect(s, address, length) == SOCKET_ERROR) {
            error = ::WSAGetLastError();
            if (error == WSAEWOULDBLOCK) {
                bool failed = false;
                const int n =
                    WaitFor(s, true, int(std::max<qint64>(0, deadline.remainingTime())), failed);
                if (n == 0) {
                    ::closesocket(s);
                    return ConnectResult::TimedOut;
                }
                error = 0;
                if (failed) {
                    int size = sizeof error;
                    if (::getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error),
                                     &size) != 0 ||
                        error == 0)
                        error = WSAECONNREFUSED;
                }
            }
        }
        if (error == 0) {
            socket_ = s;
            return ConnectResult::Connected;
        }
        ::closesocket(s);
        if (error == WSAECONNREFUSED) return ConnectResult::Refused;
        if (error == WSAETIMEDOUT) return ConnectResult::TimedOut;
        systemText = SystemText(error);
        return ConnectResult::Failed;
    }

    SOCKET socket_ = INVALID_SOCKET;
};

}  // namespace

std::unique_ptr<NetSocket> NewSystemNetSocket() {
    return std::make_unique<Win32NetSocket>();
}

#endif
