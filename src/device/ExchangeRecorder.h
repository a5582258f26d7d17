#pragma once

#include <QElapsedTimer>

#include "device/ExchangeRecord.h"

class ExchangeLog;

// Records one command's exchange into the program's exchange log: the request
// from the frame buffer before the transaction, the bytes that arrived after
// it, then the outcome. Does nothing while the log is not recording.
class ExchangeRecorder {
public:
    ExchangeRecorder(int requestLength, int expectedAnswerLength);
    ExchangeRecorder(const ExchangeRecorder&) = delete;
    ExchangeRecorder& operator=(const ExchangeRecorder&) = delete;

    // Right after Transact: takes what the frame buffer received.
    void transacted();
    // Once the answer is judged; the device error counts only with a valid header.
    void finish(CommandStatus status, uint8_t deviceError);

private:
    ExchangeLog* log_;
    ExchangeRecord record_;
    QElapsedTimer clock_;
};
