#pragma once

#include <QString>
#include <algorithm>
#include <cstdint>

#include "device/Protocol.h"

// The longest frames the five commands send and expect.
constexpr int LongestRequestLength =
    std::max({ParameterRequestLength, FormRequestLength, InnRequestLength, GoodsRequestLength,
              StateRequestLength});
constexpr int LongestAnswerLength =
    std::max({ParameterResponseLength, FormResponseLength, InnResponseLength, GoodsResponseLength,
              StateResponseLength});

// Bit i of a secret mask marks byte i of a frame as secret: it is zero in
// memory and shown as "**".
using SecretMask = uint64_t;
static_assert(LongestRequestLength <= 64 && LongestAnswerLength <= 64);

// One exchange as it went over the line. Only raw values are kept, so that
// recording costs a few copies; every text is made when it is shown or saved.
struct ExchangeRecord {
    uint64_t number = 0;     // 1 for the first exchange after the log was emptied
    int64_t startedMs = 0;   // wall clock, ms since the epoch
    int64_t durationNs = 0;  // open, write, read and close
    QString port;            // the port name of the settings
    int32_t baudRate = 0;
    bool portOpened = true;
    QString openError;  // why the port did not open, where the link said
    CommandStatus status = StatusOk;
    uint8_t deviceError = 0;  // from an answer whose header was right
    uint8_t requestLength = 0;
    uint8_t answerLength = 0;  // what arrived
    uint8_t expectedAnswerLength = 0;
    SecretMask requestSecret = 0;
    SecretMask answerSecret = 0;
    // A state query put on the line after a failed exchange, to drop what
    // was still on its way; `discarded` counts the bytes it dropped.
    bool lineCheck = false;
    uint32_t discarded = 0;
    uint8_t request[LongestRequestLength] = {};
    uint8_t answer[LongestAnswerLength] = {};

    uint8_t command() const { return requestLength > 6 ? request[6] : 0; }
    bool failed() const { return status != StatusOk; }
};
