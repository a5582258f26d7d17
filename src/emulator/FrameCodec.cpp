#include "emulator/FrameCodec.h"

#include "device/Protocol.h"

uint8_t FrameByte(const QByteArray& frame, int offset) {
    if (offset < 0 || offset >= frame.size()) return 0;
    return static_cast<uint8_t>(frame.at(offset));
}

uint64_t FrameUnsigned(const QByteArray& frame, int offset, int width) {
    uint64_t value = 0;
    for (int i = qMin(width, 8) - 1; i >= 0; --i)
        value = (value << 8) | FrameByte(frame, offset + i);
    return value;
}

void PutUnsigned(QByteArray& frame, int offset, int width, uint64_t value) {
    for (int i = 0; i < width && i < 8; ++i) {
        const int at = offset + i;
        if (at >= 0 && at < frame.size()) frame[at] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

uint16_t AdditiveSum(const QByteArray& frame, int count) {
    uint16_t sum = 0;
    const int end = qMin(count, static_cast<int>(frame.size()));
    for (int i = 0; i < end; ++i) sum = static_cast<uint16_t>(sum + FrameByte(frame, i));
    return sum;
}

void CloseFrame(QByteArray& frame) {
    const int length = static_cast<int>(frame.size());
    if (length < 3) return;
    frame[length - 3] = static_cast<char>(END_MARK);
    PutUnsigned(frame, length - 2, 2, AdditiveSum(frame, length - 2));
}

QByteArray BuildRequest(int32_t factoryNumber, uint8_t command, const QByteArray& data) {
    QByteArray frame(8 + data.size() + 3, '\0');
    frame[0] = static_cast<char>(STX);
    frame[1] = 0x02;
    PutUnsigned(frame, 2, 4, static_cast<uint32_t>(factoryNumber));
    frame[6] = static_cast<char>(command);
    frame[7] = static_cast<char>(frame.size() & 0xFF);
    frame.replace(8, data.size(), data);
    CloseFrame(frame);
    return frame;
}
