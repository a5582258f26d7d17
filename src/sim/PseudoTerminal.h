#pragma once

// The pseudo-terminal the program opens as its serial port: our master side,
// our own descriptor of the other side (so that the program closing it causes
// no hang-up), the optional link to it, and who has it open.

#include <QByteArray>
#include <QString>

class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Opens the terminal in raw mode and, when `link` is given, links it
    // there. False with a message on stderr.
    bool open(const QString& link);

    const QByteArray& path() const { return slavePath_; }
    int master() const { return master_; }
    // Readable when someone opened or closed the terminal; -1 when that cannot be seen.
    int watch() const { return watch_; }

    // Takes the open and close events of others; true when the last of them
    // closed the terminal.
    bool takeOpenEvents();
    // Someone else has the terminal open (also when that cannot be seen).
    bool listening() const { return openers_ != 0; }

    // Drops what was sent to the program and not yet read.
    void flushInput();
    // An exclusive open must not outlive the program's descriptor.
    void releaseExclusive();
    // The speed the program set, in bit/s (0 for one it does not know); -1
    // when it cannot be read.
    int lineSpeed() const;

private:
    int master_ = -1;
    int keeper_ = -1;  // our own slave descriptor: no hang-up while the program closes
    int watch_ = -1;
    int openers_ = -1;  // opens of the terminal by others; -1 when it cannot be seen
    QByteArray slavePath_;
    QString link_;
};
