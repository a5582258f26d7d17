#include "sim/PseudoTerminal.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cstdio>

#ifdef __linux__
#include <sys/inotify.h>
#endif

#include "sim/NonBlocking.h"

namespace {

int LineSpeed(speed_t speed) {
    switch (speed) {
        case B2400:
            return 2400;
        case B4800:
            return 4800;
        case B9600:
            return 9600;
        case B19200:
            return 19200;
        case B38400:
            return 38400;
        case B57600:
            return 57600;
        case B115200:
            return 115200;
        default:
            return 0;
    }
}

// How many descriptors of other processes refer to the terminal, as far as
// /proc shows them (those of other users' processes stay unseen without root).
int OtherOpeners(const QByteArray& terminal) {
    const QString self = QString::number(::getpid());
    int count = 0;
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (pid == self || !pid.front().isDigit()) continue;
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
        for (const QString& fd : fds.entryList(QDir::System | QDir::NoDotAndDotDot)) {
            char target[256];
            const QByteArray link = QFile::encodeName(fds.filePath(fd));
            const ssize_t n = ::readlink(link.constData(), target, sizeof target);
            if (n == terminal.size() && terminal == QByteArray::fromRawData(target, int(n)))
                ++count;
        }
    }
    return count;
}

}  // namespace

PseudoTerminal::~PseudoTerminal() {
    if (!link_.isEmpty()) ::unlink(QFile::encodeName(link_).constData());
    for (int fd : {watch_, keeper_, master_})
        if (fd >= 0) ::close(fd);
}

bool PseudoTerminal::open(const QString& link) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        perror("zelvo-sim: pseudo-terminal");
        return false;
    }
    slavePath_ = ptsname(master_);
    keeper_ = ::open(slavePath_.constData(), O_RDWR | O_NOCTTY);
    if (keeper_ < 0) {
        perror("zelvo-sim: opening the terminal's own side");
        return false;
    }
    termios raw{};
    tcgetattr(keeper_, &raw);
    cfmakeraw(&raw);
    cfsetispeed(&raw, B115200);
    cfsetospeed(&raw, B115200);
    tcsetattr(keeper_, TCSANOW, &raw);
    SetNonBlocking(master_);

#ifdef __linux__
    // Seeing the program open and close the port lets bytes sent while it is
    // closed fall off the line, as they would on a real one.
    watch_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch_ >= 0 && inotify_add_watch(watch_, slavePath_.constData(), IN_OPEN | IN_CLOSE) >= 0) {
        openers_ = 0;
    }
#endif

    if (!link.isEmpty()) {
        const QByteArray path = QFile::encodeName(link);
        struct stat existing {};
        if (lstat(path.constData(), &existing) == 0) {
            if (!S_ISLNK(existing.st_mode)) {
                fprintf(stderr, "zelvo-sim: %s exists and is not a link\n", path.constData());
                return false;
            }
            ::unlink(path.constData());
        }
        if (symlink(slavePath_.constData(), path.constData()) != 0) {
            perror("zelvo-sim: --link");
            return false;
        }
        link_ = link;
    }
    return true;
}

bool PseudoTerminal::takeOpenEvents() {
    bool closed = false;
#ifdef __linux__
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(watch_, buffer, sizeof buffer);
        if (n <= 0) return closed;
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->mask & IN_OPEN) ++openers_;
            if ((event->mask & IN_CLOSE) && openers_ > 0 && --openers_ == 0) closed = true;
            at += ssize_t(sizeof(inotify_event)) + event->len;
        }
    }
#endif
    return closed;
}

void PseudoTerminal::flushInput() {
    tcflush(keeper_, TCIFLUSH);
}

void PseudoTerminal::releaseExclusive() {
    int exclusive = 0;
    if (ioctl(keeper_, TIOCGEXCL, &exclusive) != 0 || !exclusive) return;
    // inotify merges two opens (or two closes) in a row that we have not read
    // yet, so the count can reach nought while another program still holds
    // the terminal; its flag stays.
    if (const int holders = OtherOpeners(slavePath_)) {
        openers_ = holders;
        return;
    }
    ioctl(keeper_, TIOCNXCL);
}

int PseudoTerminal::lineSpeed() const {
    termios line{};
    if (tcgetattr(keeper_, &line) != 0) return -1;
    return LineSpeed(cfgetospeed(&line));
}
