#include <io.h>
#include <windows.h>

#include <cstdio>

#include "cli/HiddenInput.h"
#include "cli/TerminalInput.h"

struct EchoOff::Saved {
    HANDLE console = nullptr;
    DWORD mode = 0;
};

EchoOff::EchoOff() {
    auto saved = std::make_unique<Saved>();
    saved->console = GetStdHandle(STD_INPUT_HANDLE);
    if (!GetConsoleMode(saved->console, &saved->mode)) return;
    if (SetConsoleMode(saved->console, saved->mode & ~DWORD(ENABLE_ECHO_INPUT)))
        saved_ = std::move(saved);
}

EchoOff::~EchoOff() {
    if (!saved_) return;
    SetConsoleMode(saved_->console, saved_->mode);
    // The console did not echo the line's end either.
    std::fputc('\n', stderr);
}

bool AwaitInputLine(bool (*stop)()) {
    // The console's line input returns at Enter; Ctrl+C ends the program's
    // wait through its own handler.
    return !stop();
}

bool StandardInputIsTerminal() {
    return _isatty(_fileno(stdin)) != 0;
}

bool IsStreamFile(const QString&) {
    // A named pipe is no path the user types here; a password file is a file.
    return false;
}

StreamRead ReadStreamStart(const QString&, int, bool (*)()) {
    StreamRead result;
    result.error = QStringLiteral("это не файл");
    return result;
}
