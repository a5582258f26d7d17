#pragma once

// The simulator's console: standard output to the test that drives it, and
// the control lines it sends on standard input.

#include <QByteArray>
#include <QStringList>

// Standard output feeds the test that drives us; a test busy elsewhere must not
// stall the line, so lines queue here and go out when the pipe takes them.
class Output {
public:
    void start();
    void line(const QByteArray& text);
    bool pending() const { return !queue_.isEmpty(); }
    void flush();
    void finish();

private:
    QByteArray queue_;
    int flags_ = -1;
};

// The control lines from standard input, trimmed, empty ones left out.
class ControlInput {
public:
    bool isOpen() const { return open_; }
    // Reads what is there. `ended` is set when standard input has closed.
    QStringList read(bool& ended);

private:
    bool open_ = true;
    QByteArray buffer_;
};
