#include "device/links/UnixTerminal.h"

#ifdef Q_OS_UNIX

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>

#ifdef Q_OS_LINUX
#include <linux/serial.h>
#endif

#include "device/PortOpenError.h"

namespace {

bool ProcessAlive(qint64 pid) {
    // Our own pid counts too: a lock file with it belongs to another port
    // object of this process.
    if (pid <= 0) return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

int Refuse(int fd, QString& reason, const QString& why) {
    ::close(fd);
    reason = why;
    return -1;
}

void SleepNs(qint64 ns) {
    const timespec pause{time_t(ns / 1'000'000'000), long(ns % 1'000'000'000)};
    ::nanosleep(&pause, nullptr);
}

}  // namespace

qint64 PortLockOwner(const QString& devicePath) {
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
        if (ProcessAlive(pid)) return pid;
    }
    return 0;
}

int OpenTerminal(const QString& path, QString& reason) {
    reason.clear();
    if (const qint64 owner = PortLockOwner(path)) {
        reason = PortHeldReason(owner);
        return -1;
    }
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        reason = PortErrnoReason(errno, path);
        return -1;
    }
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0) return Refuse(fd, reason, PortErrnoReason(errno, path));
#ifdef TIOCGEXCL
    int exclusive = 0;
    if (::ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive)
        return Refuse(fd, reason, PortHeldReason());
#endif
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return Refuse(fd, reason, PortErrnoReason(errno, path));
    return fd;
}

FoundTerminal TakeTerminal(int fd) {
    FoundTerminal found;
    found.settingsKnown = ::tcgetattr(fd, &found.settings) == 0;
#ifdef Q_OS_LINUX
    serial_struct serial{};
    if (::ioctl(fd, TIOCGSERIAL, &serial) != 0 || (serial.flags & ASYNC_LOW_LATENCY)) return found;
    serial.flags |= ASYNC_LOW_LATENCY;
    found.lowLatencySet = ::ioctl(fd, TIOCSSERIAL, &serial) == 0;
#endif
    return found;
}

void ReturnTerminal(int fd, const FoundTerminal& found) {
#ifdef Q_OS_LINUX
    // Cleared again although setting it costs some adapters a round trip over
    // USB: the port may be another program's, which chose its own.
    serial_struct serial{};
    if (found.lowLatencySet && ::ioctl(fd, TIOCGSERIAL, &serial) == 0) {
        serial.flags &= ~ASYNC_LOW_LATENCY;
        ::ioctl(fd, TIOCSSERIAL, &serial);
    }
#endif
    // Speed, mode, echo and hang-up on close as they were: with hang-up on
    // close the line drops only when it was down before the open too (no
    // other program holds the port), and without it, it stays up.
    if (found.settingsKnown) ::tcsetattr(fd, TCSANOW, &found.settings);
}

bool UnreadInput(int fd) {
    int waiting = 0;
    return ::ioctl(fd, FIONREAD, &waiting) == 0 && waiting > 0;
}

bool WaitUntilSent(int fd, int baudRate, QDeadlineTimer deadline) {
    const qint64 byteNs = 10'000'000'000LL / std::max(baudRate, 300);
    for (;;) {
        int queued = 0;
        if (::ioctl(fd, TIOCOUTQ, &queued) != 0) queued = 0;
#ifdef TIOCSERGETLSR
        // The last bytes may still be in the UART itself.
        unsigned int status = 0;
        if (queued == 0 && ::ioctl(fd, TIOCSERGETLSR, &status) == 0 && !(status & TIOCSER_TEMT))
            queued = 1;
#endif
        if (queued <= 0) return true;
        const qint64 left = deadline.remainingTimeNSecs();
        if (left <= 0) return false;
        SleepNs(std::min(std::max<qint64>(queued * byteNs, 100'000), left));
    }
}

void DiscardUntilQuiet(int fd, int quietMs, int boundMs) {
    const QDeadlineTimer bound(boundMs);
    char sink[256];
    while (::read(fd, sink, sizeof sink) > 0) {
    }
    for (;;) {
        const int wait = int(std::min<qint64>(quietMs, bound.remainingTime()));
        if (wait <= 0) return;
        pollfd in{fd, POLLIN, 0};
        const int ready = ::poll(&in, 1, wait);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0 || (in.revents & (POLLERR | POLLNVAL))) return;
        // A line that signals input but gives none has hung up: nothing more can come.
        if (::read(fd, sink, sizeof sink) <= 0) return;
        while (::read(fd, sink, sizeof sink) > 0) {
        }
    }
}

#endif
