#pragma once

// The layout every request and answer shares, on any buffer: the program-wide
// frame buffer of the five commands, and the device search's own buffers (each
// port of a search is asked from a thread of its own).

#include <cstdint>

#include "device/Protocol.h"

// Little-endian fields of `width` bytes.
void PutLe(uint8_t* frame, int offset, uint64_t value, int width);
uint64_t GetLe(const uint8_t* frame, int offset, int width);

// The 16-bit sum of the first `count` bytes.
uint16_t FrameSum(const uint8_t* frame, int count);

// A request's header with the data field zeroed; the caller fills the data,
// then EndRequest puts the end mark and the checksum.
void StartRequest(uint8_t* frame, uint8_t command, int requestLength, int32_t machineNumber);
void EndRequest(uint8_t* frame, int requestLength);

// The checks of an answer in their fixed order: something arrived, the first
// byte (and the length byte where `checkLength`), the response code, the
// device's error code. `deviceError` is set only when the header passed. The
// buffer holds at least four bytes: a short answer is judged with whatever the
// buffer holds past it, as the device's own frame buffer would be.
CommandStatus JudgeAnswer(const uint8_t* answer, int received, uint8_t command, bool checkLength,
                          uint8_t& deviceError);
