#include "device/LineMarker.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <algorithm>
#include <cstring>

#include "device/FrameLayout.h"
#include "device/SerialLink.h"

namespace {

constexpr uint8_t MarkerCode = uint8_t(CmdState - 0x20);

// Where the marker's answer may begin: a first byte of the device's, not
// followed by a code that rules it out.
int CandidateStart(const QByteArray& seen) {
    for (int i = 0; i < seen.size(); ++i) {
        if (uint8_t(seen.at(i)) != STX_SLAVE) continue;
        if (i + 1 >= seen.size() || uint8_t(seen.at(i + 1)) == MarkerCode) return i;
    }
    return int(seen.size());
}

}  // namespace

bool IsMarkerAnswer(const QByteArray& frame) {
    return frame.size() >= StateResponseLength && uint8_t(frame.at(0)) == STX_SLAVE &&
           uint8_t(frame.at(1)) == MarkerCode;
}

int DropWaitingInput(SerialLink& link) {
    // A line that keeps bringing input is not held here for ever; the rest
    // goes uncounted.
    constexpr int Rounds = 64;
    int dropped = 0;
    for (int round = 0; round < Rounds; ++round) {
        const QByteArray chunk = link.read(256, 0, 1);
        if (chunk.isEmpty()) return dropped;
        dropped += int(chunk.size());
    }
    link.discardLateInput(0, 0);
    return dropped;
}

MarkerOutcome PutMarker(SerialLink& link, const QString& portName, const QByteArray& request,
                        int baudRate, int byteTimeoutMs, int totalTimeoutMs, int alreadyDropped) {
    MarkerOutcome outcome;
    ExchangeRecord& record = outcome.record;
    record.port = portName;
    record.baudRate = baudRate;
    record.lineCheck = true;
    record.requestLength = uint8_t(std::min<int>(int(request.size()), LongestRequestLength));
    record.expectedAnswerLength = StateResponseLength;
    std::memcpy(record.request, request.constData(), record.requestLength);
    record.startedMs = QDateTime::currentMSecsSinceEpoch();
    QElapsedTimer clock;
    clock.start();

    // What has arrived so far can only answer earlier requests.
    int discarded = alreadyDropped + DropWaitingInput(link);
    const QDeadlineTimer deadline(LineTimeMs(int(request.size()), baudRate) + totalTimeoutMs);
    QByteArray seen;
    bool anything = false;
    if (link.write(request) == request.size() && link.drain(deadline)) {
        for (;;) {
            const int start = CandidateStart(seen);
            discarded += start;
            seen.remove(0, start);
            if (seen.size() >= StateResponseLength) {
                if (IsMarkerAnswer(seen)) break;
                ++discarded;
                seen.remove(0, 1);
                continue;
            }
            const qint64 left = std::min<qint64>(totalTimeoutMs, deadline.remainingTime());
            if (left <= 0) break;
            const QByteArray chunk =
                link.read(StateResponseLength - int(seen.size()), byteTimeoutMs, int(left));
            if (chunk.isEmpty()) break;
            anything = true;
            seen += chunk;
        }
    }
    outcome.settled = IsMarkerAnswer(seen);
    if (outcome.settled) {
        // Only a marker sent earlier and heard too late can still follow; it
        // is dropped with whatever else is already there.
        seen.truncate(StateResponseLength);
        discarded += DropWaitingInput(link);
    } else {
        discarded += int(seen.size());
        seen.clear();
    }
    outcome.discarded = discarded;

    record.durationNs = clock.nsecsElapsed();
    record.discarded = uint32_t(discarded);
    // Only the marker's own answer is kept: the dropped bytes may hold an
    // operator's password that arrived late, at any offset.
    record.answerLength = uint8_t(seen.size());
    std::memcpy(record.answer, seen.constData(), record.answerLength);
    uint8_t frame[StateResponseLength] = {};
    std::memcpy(frame, seen.constData(), std::size_t(seen.size()));
    if (outcome.settled) {
        record.status = JudgeAnswer(frame, int(seen.size()), CmdState, false, record.deviceError);
        if (record.status != StatusDeviceError) record.deviceError = 0;
    } else {
        record.status = anything || alreadyDropped > 0 ? StatusOutOfStep : StatusNoAnswer;
    }
    return outcome;
}
