#pragma once

#include <memory>

// What differs between the systems in reading a line at a terminal
// (PosixTerminalInput.cpp, Win32TerminalInput.cpp).

// The terminal's echo of standard input, off for the object's life and
// restored however the read ends.
class EchoOff {
public:
    EchoOff();
    ~EchoOff();
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    struct Saved;
    std::unique_ptr<Saved> saved_;
};

// Waits until a line can be read from standard input; false when `stop`
// turned true first.
bool AwaitInputLine(bool (*stop)());
