#include "device/ExchangeRecorder.h"

#include <QDateTime>
#include <algorithm>
#include <cstring>
#include <utility>

#include "device/ExchangeLog.h"

ExchangeRecorder::ExchangeRecorder(int requestLength, int expectedAnswerLength)
    : log_(ProgramExchangeLog().recording() ? &ProgramExchangeLog() : nullptr) {
    if (!log_) return;
    const PortSettings& settings = CurrentPortSettings();
    record_.port = settings.PortName;
    record_.baudRate = settings.BaudRate;
    record_.requestLength = uint8_t(std::clamp(requestLength, 0, LongestRequestLength));
    record_.expectedAnswerLength =
        uint8_t(std::clamp(expectedAnswerLength, 0, LongestAnswerLength));
    std::memcpy(record_.request, FrameBuffer, record_.requestLength);
    record_.startedMs = QDateTime::currentMSecsSinceEpoch();
    clock_.start();
}

void ExchangeRecorder::transacted() {
    if (!log_) return;
    record_.durationNs = clock_.nsecsElapsed();
    record_.portOpened = !LastOpenFailed();
    if (!record_.portOpened) record_.openError = LastPortOpenError();
    // A port that did not open leaves the request in the frame buffer.
    record_.answerLength =
        record_.portOpened
            ? uint8_t(std::min<uint32_t>(TransferCount, uint32_t(record_.expectedAnswerLength)))
            : 0;
    std::memcpy(record_.answer, FrameBuffer, record_.answerLength);
}

void ExchangeRecorder::finish(CommandStatus status, uint8_t deviceError) {
    if (!log_) return;
    record_.status = status;
    record_.deviceError = deviceError;
    log_->append(std::move(record_));
}
