#include "sim/AnswerPacing.h"

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "emulator/EmulatorFaults.h"
#include "sim/PseudoTerminal.h"

qint64 NowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

qint64 AnswerQueue::nextDueNs() const {
    const Outgoing& first = outgoing_.first();
    return first.due.at(first.next);
}

void AnswerQueue::add(const EmulatorReply& reply, const RequestFramer::Frame& frame) {
    Outgoing answer{reply.bytes, QVector<qint64>(reply.bytes.size(), 0), 0, reply.late};
    if (reply.isTimed()) {
        for (int i = 0; i < reply.bytes.size(); ++i)
            answer.due[i] = frame.firstByteNs + reply.arrivalNs(i, int(frame.bytes.size()));
    }
    outgoing_.append(answer);
}

void AnswerQueue::withdraw() {
    outgoing_.erase(std::remove_if(outgoing_.begin(), outgoing_.end(),
                                   [](const Outgoing& out) { return !out.late; }),
                    outgoing_.end());
}

void AnswerQueue::sendDue(qint64 now, PseudoTerminal& terminal) {
    while (!outgoing_.isEmpty()) {
        Outgoing& out = outgoing_.first();
        int end = out.next;
        while (end < out.bytes.size() && out.due.at(end) <= now) ++end;
        while (out.next < end) {
            const ssize_t n = ::write(terminal.master(), out.bytes.constData() + out.next,
                                      size_t(end - out.next));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                outgoing_.clear();  // the line is full: nobody is reading
                return;
            }
            out.next += int(n);
        }
        if (!terminal.listening()) terminal.flushInput();
        if (out.next < out.bytes.size()) return;
        outgoing_.removeFirst();
    }
}
