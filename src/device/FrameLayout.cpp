#include "device/FrameLayout.h"

#include <cstring>

void PutLe(uint8_t* frame, int offset, uint64_t value, int width) {
    for (int i = 0; i < width; ++i) frame[offset + i] = uint8_t(value >> (8 * i));
}

uint64_t GetLe(const uint8_t* frame, int offset, int width) {
    uint64_t value = 0;
    for (int i = 0; i < width; ++i) value |= uint64_t(frame[offset + i]) << (8 * i);
    return value;
}

uint16_t FrameSum(const uint8_t* frame, int count) {
    uint16_t sum = 0;
    for (int i = 0; i < count; ++i) sum = uint16_t(sum + frame[i]);
    return sum;
}

void StartRequest(uint8_t* frame, uint8_t command, int requestLength, int32_t machineNumber) {
    // Zeroed first, so that no stale byte of an earlier answer leaks into a data field.
    std::memset(frame, 0, std::size_t(requestLength));
    frame[0] = STX;
    frame[1] = 0x02;
    PutLe(frame, 2, uint32_t(machineNumber), 4);
    frame[6] = command;
    frame[7] = uint8_t(requestLength);
}

void EndRequest(uint8_t* frame, int requestLength) {
    frame[requestLength - 3] = END_MARK;
    PutLe(frame, requestLength - 2, FrameSum(frame, requestLength - 2), 2);
}

CommandStatus JudgeAnswer(const uint8_t* answer, int received, uint8_t command, bool checkLength,
                          uint8_t& deviceError) {
    if (received <= 0) return StatusNoAnswer;
    if (answer[0] != STX_SLAVE || (checkLength && answer[2] != received)) return StatusBadHeader;
    if (answer[1] != uint8_t(command - 0x20)) return StatusCodeMismatch;
    deviceError = answer[3];
    return deviceError != 0 ? StatusDeviceError : StatusOk;
}
