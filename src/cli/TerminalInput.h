#pragma once

#include <QByteArray>
#include <QString>
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

// A password file that is a pipe (`<(pass show ...)`, /dev/stdin) or a
// character device rather than a regular file.
bool IsStreamFile(const QString& path);

struct StreamRead {
    bool opened = false;
    bool stopped = false;  // `stop` turned true while waiting
    QByteArray bytes;      // up to the first line end or `limit` bytes, whichever comes first
    QString error;         // why it did not open
};
// Reads the start of such a file: until a line end, `limit` bytes or the end
// of the stream. A pipe with no writer yet is waited for, and `stop` ends the
// wait. Where there are no such files, nothing opens.
StreamRead ReadStreamStart(const QString& path, int limit, bool (*stop)());
