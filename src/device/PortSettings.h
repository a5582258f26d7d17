#pragma once

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cstdint>

// What the connection settings dialog applied; read by every command.
struct PortSettings {
    QString PortName;  // "COM1".."COM100", a system path, or the emulator entry
    int32_t BaudRate = 0;
    int32_t ByteTimeout = 0;                            // ms
    int32_t TotalTimeout = 0;                           // ms
    QByteArray MachineNumber = QByteArrayLiteral("0");  // decimal text, converted per frame
    bool Applied = false;
};

// The program-wide settings record.
PortSettings& CurrentPortSettings();

// At most this many characters of factory number are kept.
constexpr int MachineNumberMaxLength = 15;

// Default field values of the connection settings dialog.
constexpr int DefaultBaudRate = 115200;
constexpr int DefaultByteTimeout = 250;
constexpr int DefaultTotalTimeout = 2500;

// A TotalTimeout of 0 would let a silent device hold the line for ever; the
// read is bounded by this many milliseconds instead.
constexpr int UnboundedTotalTimeoutCap = 60000;

// The longest time-out, byte or total, that is taken. A device answers in
// well under a second; a minute is the 0 rule's bound already, and anything
// longer is a typing error that would freeze the program for its length (or,
// near INT_MAX, overflow a deadline and fail every exchange at once).
constexpr int MaxTimeoutMs = 60000;

// The time-outs as an exchange uses them, whatever the settings hold.
inline int BoundedTotalTimeout(int ms) {
    return ms <= 0 ? UnboundedTotalTimeoutCap : std::min(ms, MaxTimeoutMs);
}
inline int BoundedByteTimeout(int ms) {
    return std::clamp(ms, 0, MaxTimeoutMs);
}
