#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "cli/HiddenInput.h"
#include "cli/TerminalInput.h"

namespace {

// The terminal's settings while echo is off, for the signal handlers: a stop
// (Ctrl+Z) gives the shell back the terminal as it was, and `fg` turns echo
// off again, which the shell would otherwise leave on for the rest of the read.
termios g_shown{};
termios g_quiet{};
std::atomic<bool> g_quietActive{false};
struct sigaction g_oldStop {};
struct sigaction g_oldContinue {};

void OnStop(int) {
    const int saved = errno;
    if (g_quietActive.load()) tcsetattr(STDIN_FILENO, TCSANOW, &g_shown);
    // Stopped as the default action would; the handler is back on return.
    struct sigaction stop {};
    stop.sa_handler = SIG_DFL;
    sigemptyset(&stop.sa_mask);
    struct sigaction mine {};
    sigaction(SIGTSTP, &stop, &mine);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTSTP);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    raise(SIGTSTP);
    sigaction(SIGTSTP, &mine, nullptr);
    errno = saved;
}

void OnContinue(int) {
    const int saved = errno;
    if (g_quietActive.load()) tcsetattr(STDIN_FILENO, TCSANOW, &g_quiet);
    errno = saved;
}

}  // namespace

struct EchoOff::Saved {
    termios settings{};
};

EchoOff::EchoOff() {
    auto saved = std::make_unique<Saved>();
    if (tcgetattr(STDIN_FILENO, &saved->settings) != 0) return;
    termios quiet = saved->settings;
    quiet.c_lflag &= ~tcflag_t(ECHO);
    quiet.c_lflag |= ECHONL;
    g_shown = saved->settings;
    g_quiet = quiet;
    struct sigaction handler {};
    sigemptyset(&handler.sa_mask);
    handler.sa_flags = SA_RESTART;
    handler.sa_handler = OnStop;
    sigaction(SIGTSTP, &handler, &g_oldStop);
    // A shell without job control ignores the stop: so does the read.
    if (g_oldStop.sa_handler == SIG_IGN) sigaction(SIGTSTP, &g_oldStop, nullptr);
    handler.sa_handler = OnContinue;
    sigaction(SIGCONT, &handler, &g_oldContinue);
    g_quietActive = true;
    // TCSANOW, not TCSAFLUSH: what was typed ahead of the prompt is the
    // password and stays to be read.
    if (tcsetattr(STDIN_FILENO, TCSANOW, &quiet) == 0) {
        saved_ = std::move(saved);
        return;
    }
    g_quietActive = false;
    sigaction(SIGTSTP, &g_oldStop, nullptr);
    sigaction(SIGCONT, &g_oldContinue, nullptr);
}

EchoOff::~EchoOff() {
    if (!saved_) return;
    g_quietActive = false;
    // Input that came after the line stays for whoever reads next.
    tcsetattr(STDIN_FILENO, TCSANOW, &saved_->settings);
    sigaction(SIGTSTP, &g_oldStop, nullptr);
    sigaction(SIGCONT, &g_oldContinue, nullptr);
}

bool AwaitInputLine(bool (*stop)()) {
    pollfd input{STDIN_FILENO, POLLIN, 0};
    while (!stop()) {
        const int ready = poll(&input, 1, 100);
        if (ready < 0 && errno == EINTR) continue;  // a stop and `fg`
        if (ready != 0) return true;                // a line, the end, or an error the read reports
    }
    return false;
}

bool StandardInputIsTerminal() {
    return isatty(STDIN_FILENO) != 0;
}

bool IsStreamFile(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) return false;
    return S_ISFIFO(status.st_mode) || S_ISCHR(status.st_mode);
}

StreamRead ReadStreamStart(const QString& path, int limit, bool (*stop)()) {
    StreamRead result;
    // Not blocked in the open by a pipe that has no writer yet: the wait
    // below hears Ctrl+C.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        result.error = QString::fromLocal8Bit(strerror(errno));
        return result;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !(S_ISFIFO(status.st_mode) || S_ISCHR(status.st_mode))) {
        ::close(fd);
        result.error = QStringLiteral("это не канал и не устройство");
        return result;
    }
    pollfd input{fd, POLLIN, 0};
    while (int(result.bytes.size()) < limit && !result.bytes.contains('\n')) {
        if (stop()) {
            result.stopped = true;
            break;
        }
        const int ready = poll(&input, 1, 100);
        if (ready < 0 && errno != EINTR) break;
        if (ready <= 0) continue;
        char buffer[256];
        const int wanted = std::min<int>(int(sizeof buffer), limit - int(result.bytes.size()));
        const ssize_t n = ::read(fd, buffer, std::size_t(wanted));
        if (n > 0) {
            result.bytes.append(buffer, int(n));
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        break;  // the writer closed its end, or an error: what came is all
    }
    ::close(fd);
    result.opened = true;
    return result;
}
