#pragma once

#include <QByteArray>
#include <cstdint>

// Byte-level helpers for the device's frames. Every reader is bounds-checked and
// yields 0 for bytes the frame does not have, so malformed input is harmless.

uint8_t FrameByte(const QByteArray& frame, int offset);
// Little-endian unsigned value of `width` bytes (at most 8).
uint64_t FrameUnsigned(const QByteArray& frame, int offset, int width);
// Writes the low `width` bytes of value, little-endian; ignores what does not fit.
void PutUnsigned(QByteArray& frame, int offset, int width, uint64_t value);

// The 16-bit additive sum of the first `count` bytes.
uint16_t AdditiveSum(const QByteArray& frame, int count);

// Closes a frame in place: END_MARK at length − 3 and the sum of everything
// before the sum, little-endian, in the last two bytes. Frames shorter than
// three bytes are left alone.
void CloseFrame(QByteArray& frame);

// A complete request as the program builds it: header, data, END_MARK, sum.
QByteArray BuildRequest(int32_t factoryNumber, uint8_t command, const QByteArray& data);
