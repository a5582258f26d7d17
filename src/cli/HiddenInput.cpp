#include "cli/HiddenInput.h"

#include <QtGlobal>
#include <cstdio>
#include <string>

#ifdef Q_OS_UNIX
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <io.h>
#include <windows.h>
#endif

namespace {

// The echo of the terminal on standard input switched off for the object's life.
class EchoOff {
public:
    EchoOff() {
#ifdef Q_OS_UNIX
        if (tcgetattr(STDIN_FILENO, &saved_) != 0) return;
        termios quiet = saved_;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        quiet.c_lflag |= ECHONL;
        active_ = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
#elif defined(Q_OS_WIN)
        console_ = GetStdHandle(STD_INPUT_HANDLE);
        if (!GetConsoleMode(console_, &saved_)) return;
        active_ = SetConsoleMode(console_, saved_ & ~DWORD(ENABLE_ECHO_INPUT)) != 0;
#endif
    }
    ~EchoOff() {
        if (!active_) return;
#ifdef Q_OS_UNIX
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
#elif defined(Q_OS_WIN)
        SetConsoleMode(console_, saved_);
        std::fputc('\n', stderr);
#endif
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    bool active_ = false;
#ifdef Q_OS_UNIX
    termios saved_{};
#elif defined(Q_OS_WIN)
    HANDLE console_ = nullptr;
    DWORD saved_ = 0;
#endif
};

std::optional<QString> ReadLine() {
    std::string line;
    bool any = false;
    for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar()) {
        any = true;
        line.push_back(char(c));
    }
    if (!any && std::feof(stdin)) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return QString::fromLocal8Bit(line.data(), qsizetype(line.size()));
}

// Waits until a line can be read; false when `stop` turned true first.
bool AwaitLine(bool (*stop)()) {
#ifdef Q_OS_UNIX
    pollfd input{STDIN_FILENO, POLLIN, 0};
    while (!stop()) {
        const int ready = poll(&input, 1, 100);
        if (ready != 0) return true;  // a line, the end, or an error the read reports
    }
    return false;
#else
    return !stop();
#endif
}

}  // namespace

bool StandardInputIsTerminal() {
#ifdef Q_OS_UNIX
    return isatty(STDIN_FILENO) != 0;
#elif defined(Q_OS_WIN)
    return _isatty(_fileno(stdin)) != 0;
#else
    return false;
#endif
}

std::optional<QString> ReadHiddenLine(const QString& prompt, bool (*stop)()) {
    std::fputs(prompt.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    EchoOff quiet;
    std::optional<QString> line;
    if (AwaitLine(stop)) line = ReadLine();
    if (!stop()) return line;
    // The next message starts on a line of its own.
    std::fputc('\n', stderr);
    return std::nullopt;
}

std::optional<QString> ReadInputLine() {
    return ReadLine();
}
