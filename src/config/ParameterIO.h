#pragma once

// One parameter between the device and a field of the configuration, with the
// character-set conversion at the device boundary. The whole-configuration
// transfer and the wizard pages both move their items through these.

#include <cstdint>

#include "shell/ItemLoop.h"

struct DeviceText;

// Reads the parameter and, on success only, replaces the whole field (all
// `fieldSize` bytes) with it, decoded: every byte the device sent, also those
// after a 0x80 (a zero once decoded). The text never runs past the field: at
// most fieldSize − 1 bytes are kept, so the terminator survives. When
// `recordFlag` is given it receives the answer's record flag, again only from
// an answer that succeeded. A failed read leaves both as they were: what the
// program holds is never replaced by what the device did not say. `refusal`,
// when given, receives the device's error code when it refused, 0 otherwise.
ItemResult ReadParameterText(uint8_t group, uint8_t index, uint8_t line, char* field, int fieldSize,
                             uint8_t* recordFlag = nullptr, uint8_t* refusal = nullptr);
ItemResult ReadParameterText(uint8_t group, uint8_t index, uint8_t line, DeviceText& text,
                             uint8_t* recordFlag = nullptr, uint8_t* refusal = nullptr);

// Encodes the field (up to its terminator, never past `fieldSize`) into a
// zeroed buffer and writes it.
ItemResult WriteParameterText(uint8_t group, uint8_t index, uint8_t line, const char* field,
                              int fieldSize, uint8_t* recordFlag = nullptr);
ItemResult WriteParameterText(uint8_t group, uint8_t index, uint8_t line, const DeviceText& text,
                              uint8_t* recordFlag = nullptr);
