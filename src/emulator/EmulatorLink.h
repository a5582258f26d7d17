#pragma once

#include <QString>
#include <QVector>
#include <chrono>

#include "device/SerialLink.h"
#include "emulator/EmulatorFaults.h"

class DeviceEmulator;

// Serves a DeviceEmulator in the program's own process, in place of a serial
// port. An exchange is instant unless the device has been told to answer late
// or at a line speed; then the read takes the time the real line would, with
// the same byte and total time-out rules as a serial port. A silent device
// returns nothing at once instead of holding the caller for the time-out.
//
// The line keeps the answers in the order the device gives them. One that is
// not read goes with the next request or the close, except a late one
// (FaultKind::Late): that stays on the line across requests and closes, ahead
// of every later answer, and waits in the port once it has arrived, as in a
// pseudo-terminal.
class EmulatorLink : public SerialLink {
public:
    explicit EmulatorLink(DeviceEmulator& device);

    bool open(const QString& path) override;
    void configure(int baudRate) override;
    // Each write is taken as one whole request frame.
    qint64 write(const QByteArray& bytes) override;
    QByteArray read(int expected, int byteTimeoutMs, int totalTimeoutMs) override;
    // Drops what has arrived; an answer still on its way stays.
    void discardLateInput(int quietMs, int boundMs) override;
    bool inputWaiting() override;
    void close() override;

    DeviceEmulator& device() { return device_; }

    // The port is missing or held by another program: every open fails.
    void setOpenFails(bool fails) { openFails_ = fails; }
    // A device listening at another speed hears only noise and stays silent;
    // 0 (the default) hears every speed.
    void setDeviceSpeed(int baud) { deviceSpeed_ = baud; }

    // Takes every answer off the line, late ones too (a device switched off).
    void clearLine() { line_.clear(); }

    bool isOpen() const { return open_; }
    int openCount() const { return openCount_; }
    QString lastPath() const { return lastPath_; }
    int lastBaudRate() const { return baudRate_; }

private:
    using Clock = std::chrono::steady_clock;

    DeviceEmulator& device_;
    bool openFails_ = false;
    int deviceSpeed_ = 0;
    bool open_ = false;
    int openCount_ = 0;
    QString lastPath_;
    int baudRate_ = 0;
    struct OnLine {
        QByteArray bytes;
        QVector<Clock::time_point> due;  // when each byte has wholly arrived
        bool late = false;
    };
    // Drops the answers that a new request or a close withdraws.
    void withdraw();

    QVector<OnLine> line_;  // the answers in the order they arrive
};

// The program-wide emulated device behind the "Эмулятор АС" port entry, and the
// link that serves it.
DeviceEmulator& InProcessEmulator();
EmulatorLink& InProcessEmulatorLink();
// Puts the in-process emulated device behind the "Эмулятор АС" port name.
void RegisterInProcessEmulator();
