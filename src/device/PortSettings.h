#pragma once

#include <QByteArray>
#include <QString>
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
