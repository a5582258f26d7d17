#include "device/links/PosixSerialLink.h"

#ifdef Q_OS_UNIX

#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "device/PortOpenError.h"
#include "device/links/UnixTerminal.h"

namespace {

speed_t SpeedConstant(int baudRate) {
    switch (baudRate) {
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        default:
            return 0;  // not one of the offered speeds: keep the port's own
    }
}

}  // namespace

PosixSerialLink::~PosixSerialLink() {
    close();
}

bool PosixSerialLink::open(const QString& path) {
    close();
    fd_ = OpenTerminal(path, openError_);
    if (fd_ < 0) return false;
    // Exclusive: no other program may open the port while a command runs.
    if (::ioctl(fd_, TIOCEXCL) != 0) {
        openError_ = PortErrnoReason(errno, path);
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    exclusiveSet_ = true;
    found_ = TakeTerminal(fd_);
    return true;
}

bool PosixSerialLink::inputWaiting() {
    return fd_ >= 0 && UnreadInput(fd_);
}

void PosixSerialLink::configure(int baudRate) {
    if (fd_ < 0) return;
    baudRate_ = baudRate;
    termios settings{};
    if (::tcgetattr(fd_, &settings) != 0) return;
    // Raw bytes, 8 data bits, no parity, one stop bit; modem control as the port had it.
    settings.c_iflag &= ~tcflag_t(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON |
                                  IXOFF | IXANY | INPCK);
    settings.c_oflag &= ~tcflag_t(OPOST);
    settings.c_lflag &= ~tcflag_t(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    settings.c_cflag &= ~tcflag_t(CSIZE | PARENB | CSTOPB);
    settings.c_cflag |= tcflag_t(CS8 | CREAD | CLOCAL);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    if (const speed_t speed = SpeedConstant(baudRate)) {
        ::cfsetispeed(&settings, speed);
        ::cfsetospeed(&settings, speed);
    }
    // A setting the adapter refuses is not an error: the exchange goes ahead
    // with whatever the port accepted.
    ::tcsetattr(fd_, TCSANOW, &settings);
}

bool PosixSerialLink::pushUnsent() {
    while (!unsent_.isEmpty()) {
        const ssize_t n = ::write(fd_, unsent_.constData(), size_t(unsent_.size()));
        if (n > 0) {
            unsent_.remove(0, n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            return n < 0 && errno == EAGAIN;  // the line is busy or stopped: later
        }
    }
    return true;
}

qint64 PosixSerialLink::write(const QByteArray& bytes) {
    if (fd_ < 0) return 0;
    unsent_ = bytes;
    if (pushUnsent()) return bytes.size();
    const qint64 taken = bytes.size() - unsent_.size();
    unsent_.clear();
    return taken;
}

bool PosixSerialLink::drain(QDeadlineTimer deadline) {
    if (fd_ < 0) return false;
    while (!unsent_.isEmpty()) {
        const int wait = int(deadline.remainingTime());
        if (wait <= 0) return false;
        pollfd out{fd_, POLLOUT, 0};
        const int ready = ::poll(&out, 1, wait);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0 || (out.revents & (POLLERR | POLLNVAL | POLLHUP))) return false;
        if (!pushUnsent()) return false;
    }
    return WaitUntilSent(fd_, baudRate_, deadline);
}

QByteArray PosixSerialLink::read(int expected, int byteTimeoutMs, int totalTimeoutMs) {
    QByteArray answer;
    if (fd_ < 0 || expected <= 0) return answer;
    answer.resize(expected);
    int received = 0;
    QDeadlineTimer total(totalTimeoutMs);
    while (received < expected) {
        const ssize_t n = ::read(fd_, answer.data() + received, size_t(expected - received));
        if (n > 0) {
            received += int(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) break;
        int wait = int(total.remainingTime());
        if (wait <= 0) break;
        // The gap limit counts only between bytes, as on the device's line.
        if (received > 0 && byteTimeoutMs > 0) wait = std::min(wait, byteTimeoutMs);
        pollfd in{fd_, POLLIN, 0};
        const int ready = ::poll(&in, 1, wait);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) break;
        if (in.revents & (POLLERR | POLLNVAL)) break;
    }
    answer.resize(received);
    return answer;
}

void PosixSerialLink::discardLateInput(int quietMs, int boundMs) {
    if (fd_ >= 0) DiscardUntilQuiet(fd_, quietMs, boundMs);
}

void PosixSerialLink::close() {
    unsent_.clear();
    if (fd_ < 0) return;
    // Output that flow control still holds back would keep the close waiting
    // in the driver for up to 30 s.
    ::tcflush(fd_, TCOFLUSH);
    ReturnTerminal(fd_, found_);
    // Only our own flag: another program's is not ours to clear.
    if (exclusiveSet_) ::ioctl(fd_, TIOCNXCL);
    exclusiveSet_ = false;
    ::close(fd_);  // releases the flock as well
    fd_ = -1;
}

#endif
