#pragma once

// The answers on their way to the program, byte by byte at the time each is
// due: at once, or paced like a line at the device's speed.

#include <QByteArray>
#include <QVector>

#include "emulator/RequestFramer.h"

class PseudoTerminal;
struct EmulatorReply;

// The monotonic clock the framing and the pacing share, in nanoseconds.
qint64 NowNs();

class AnswerQueue {
public:
    bool isEmpty() const { return outgoing_.isEmpty(); }
    // When the next byte is due; only with an answer queued.
    qint64 nextDueNs() const;
    // A late answer is still on its way: a new request's answer goes behind it.
    bool lateAhead() const { return !outgoing_.isEmpty() && outgoing_.last().late; }

    // Queues the answer to `frame`.
    void add(const EmulatorReply& reply, const RequestFramer::Frame& frame);
    // Drops every answer but a late one.
    void withdraw();
    // Writes the bytes that are due by `now` to the terminal; while nobody
    // has the terminal open they fall off the line.
    void sendDue(qint64 now, PseudoTerminal& terminal);

private:
    struct Outgoing {
        QByteArray bytes;
        QVector<qint64> due;
        int next = 0;
        bool late = false;  // already on the wire: nothing the program does recalls it
    };

    // Answers in the order they go out; only a late one can have another behind it.
    QVector<Outgoing> outgoing_;
};
