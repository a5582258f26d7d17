#include "device/PosixSerialLink.h"

#ifdef Q_OS_UNIX

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <cstring>

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

bool ProcessAlive(qint64 pid) {
    // Our own pid counts too: this link never leaves a lock file, so one with
    // our pid belongs to another port object of this process.
    if (pid <= 0) return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

}  // namespace

bool PortLockedByOtherProgram(const QString& devicePath) {
    // /dev/ttyS0 → LCK..ttyS0, /dev/pts/3 → LCK..pts_3
    QString name = QFileInfo(devicePath).canonicalFilePath();
    if (name.isEmpty()) name = devicePath;
    if (name.startsWith(QLatin1String("/dev/"))) name = name.mid(5);
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    for (const char* dir : {"/var/lock/", "/run/lock/"}) {
        QFile lock(QLatin1String(dir) + QLatin1String("LCK..") + name);
        if (!lock.open(QIODevice::ReadOnly)) continue;
        const QByteArray content = lock.read(64);
        bool ok = false;
        qint64 pid = content.split('\n').value(0).trimmed().toLongLong(&ok);
        if (!ok && content.size() >= 4) {  // the binary form: a native int
            int binary = 0;
            std::memcpy(&binary, content.constData(), sizeof binary);
            pid = binary;
        }
        if (ProcessAlive(pid)) return true;
    }
    return false;
}

PosixSerialLink::~PosixSerialLink() {
    close();
}

bool PosixSerialLink::open(const QString& path) {
    close();
    if (PortLockedByOtherProgram(path)) return false;
    const QByteArray native = QFile::encodeName(path);
    fd_ = ::open(native.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return false;
    // Exclusive: no other program may open the port while a command runs.
    if (!::isatty(fd_) || ::ioctl(fd_, TIOCEXCL) != 0 || ::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    // An answer that came too late for the previous exchange must not be taken
    // for the start of the next one.
    ::tcflush(fd_, TCIFLUSH);
    return true;
}

void PosixSerialLink::configure(int baudRate) {
    if (fd_ < 0) return;
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

qint64 PosixSerialLink::write(const QByteArray& bytes) {
    if (fd_ < 0) return 0;
    qint64 done = 0;
    QDeadlineTimer deadline(1000);
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) break;
        pollfd out{fd_, POLLOUT, 0};
        const int wait = int(deadline.remainingTime());
        if (wait <= 0 || ::poll(&out, 1, wait) <= 0) break;
    }
    return done;
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

void PosixSerialLink::close() {
    if (fd_ < 0) return;
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);  // releases the flock as well
    fd_ = -1;
}

#endif
