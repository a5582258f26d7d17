#pragma once

// Request frames as the program sends them, for driving the emulated device.

#include <QByteArray>
#include <cstdint>

#include "device/Protocol.h"
#include "emulator/FrameCodec.h"

inline QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray bytes;
    for (int value : values) bytes.append(static_cast<char>(value));
    return bytes;
}

inline QByteArray ParameterRequest(int mode, int group, int index, int line,
                                   const QByteArray& data = {}, int32_t factory = 0) {
    QByteArray body = Bytes({mode, group, index, line}) + data.left(DeviceDataSize);
    body.append(QByteArray(4 + DeviceDataSize - body.size(), '\0'));
    return BuildRequest(factory, CmdParameter, body);
}

inline QByteArray FormRequest(int mode, int number, int variant = 0, int requisite = 0,
                              int kind = 0) {
    return BuildRequest(0, CmdForm, Bytes({mode, number, variant, requisite, kind}));
}

inline QByteArray InnRequest(int day, int month, int year, int group, uint64_t inn,
                             int32_t password = 0) {
    QByteArray body(14, '\0');
    PutUnsigned(body, 0, 4, static_cast<uint32_t>(password));
    body.replace(4, 4, Bytes({day, month, year, group}));
    PutUnsigned(body, 8, 6, inn);
    return BuildRequest(0, CmdInn, body);
}

inline QByteArray GoodsRequest(int mode, int index, const QByteArray& name = {},
                               uint64_t barcode = 0, uint64_t price = 0, int section = 0) {
    QByteArray body(40, '\0');
    body[0] = static_cast<char>(mode);
    PutUnsigned(body, 1, 2, static_cast<uint64_t>(index));
    body.replace(3, qMin<int>(name.size(), DeviceDataSize), name.left(DeviceDataSize));
    PutUnsigned(body, 28, 6, barcode);
    PutUnsigned(body, 34, 5, price);
    body[39] = static_cast<char>(section);
    return BuildRequest(0, CmdGoods, body);
}

inline QByteArray StateRequest(int32_t factory = 0) {
    return BuildRequest(factory, CmdState, {});
}

inline int ErrorOf(const QByteArray& answer) {
    return FrameByte(answer, 3);
}
