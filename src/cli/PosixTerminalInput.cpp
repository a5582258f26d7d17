#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "cli/HiddenInput.h"
#include "cli/TerminalInput.h"

struct EchoOff::Saved {
    termios settings{};
};

EchoOff::EchoOff() {
    auto saved = std::make_unique<Saved>();
    if (tcgetattr(STDIN_FILENO, &saved->settings) != 0) return;
    termios quiet = saved->settings;
    quiet.c_lflag &= ~tcflag_t(ECHO);
    quiet.c_lflag |= ECHONL;
    if (tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0) saved_ = std::move(saved);
}

EchoOff::~EchoOff() {
    if (saved_) tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_->settings);
}

bool AwaitInputLine(bool (*stop)()) {
    pollfd input{STDIN_FILENO, POLLIN, 0};
    while (!stop()) {
        const int ready = poll(&input, 1, 100);
        if (ready != 0) return true;  // a line, the end, or an error the read reports
    }
    return false;
}

bool StandardInputIsTerminal() {
    return isatty(STDIN_FILENO) != 0;
}
