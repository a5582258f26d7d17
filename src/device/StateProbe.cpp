#include "device/StateProbe.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <algorithm>
#include <cstring>

#include "device/FrameLayout.h"
#include "device/SerialLink.h"

QByteArray StateRequest(int32_t machineNumber) {
    uint8_t frame[StateRequestLength];
    StartRequest(frame, CmdState, StateRequestLength, machineNumber);
    EndRequest(frame, StateRequestLength);
    return QByteArray(reinterpret_cast<const char*>(frame), StateRequestLength);
}

bool IsStateAnswer(const QByteArray& answer) {
    const int received = int(answer.size());
    if (received < 4) return false;
    if (uint8_t(answer[0]) != STX_SLAVE || uint8_t(answer[1]) != uint8_t(CmdState - 0x20))
        return false;
    return received == StateResponseLength || uint8_t(answer[2]) == received;
}

StateProbeOutcome ProbeState(SerialLink& link, const QString& portName, const QByteArray& request,
                             int baudRate, int timeoutMs, int byteGapMs, bool firstProbe) {
    StateProbeOutcome outcome;
    ExchangeRecord& record = outcome.record;
    record.port = portName;
    record.baudRate = baudRate;
    record.requestLength = uint8_t(std::min<int>(int(request.size()), LongestRequestLength));
    record.expectedAnswerLength = StateResponseLength;
    std::memcpy(record.request, request.constData(), record.requestLength);
    record.startedMs = QDateTime::currentMSecsSinceEpoch();
    QElapsedTimer clock;
    clock.start();

    link.configure(baudRate);
    if (!firstProbe) link.discardLateInput(0, 0);
    const QDeadlineTimer deadline(LineTimeMs(int(request.size()), baudRate) + timeoutMs);
    QByteArray answer;
    if (link.write(request) == request.size() && link.drain(deadline)) {
        const qint64 left = std::min<qint64>(timeoutMs, deadline.remainingTime());
        answer = link.read(StateResponseLength, byteGapMs, int(std::max<qint64>(1, left)));
    }
    answer.truncate(StateResponseLength);
    record.durationNs = clock.nsecsElapsed();
    record.answerLength = uint8_t(answer.size());
    std::memcpy(record.answer, answer.constData(), record.answerLength);

    // The log judges the answer as the state command would; bytes that did
    // not arrive read as zeros.
    uint8_t frame[StateResponseLength] = {};
    std::memcpy(frame, answer.constData(), std::size_t(answer.size()));
    record.status = JudgeAnswer(frame, int(answer.size()), CmdState, false, record.deviceError);
    if (record.status != StatusDeviceError) record.deviceError = 0;

    outcome.answered = IsStateAnswer(answer);
    if (outcome.answered) outcome.deviceError = uint8_t(answer[3]);
    return outcome;
}
