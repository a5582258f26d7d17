#pragma once

// The emulated device served on the pseudo-terminal: requests framed from the
// line, answered by the emulator, the answers paced out, the console beside.

#include <QString>

#include "emulator/DeviceEmulator.h"
#include "emulator/RequestFramer.h"
#include "sim/AnswerPacing.h"
#include "sim/Console.h"
#include "sim/PseudoTerminal.h"
#include "sim/SimOptions.h"

class Simulator {
public:
    explicit Simulator(const Options& options)
        : options_(options),
          framer_(options.gapNs),
          log_(options.log),
          listenBaud_(options.listenBaud) {}

    // Applies the start-up commands; false with a message on stderr on error.
    bool configure();
    bool openTerminal() { return terminal_.open(options_.link); }
    int run();

private:
    void readMaster();
    void readOpenEvents();
    void serve(const RequestFramer::Frame& frame);
    void portClosed();
    bool hearsLineSpeed() const;

    // The console side (SimulatorControl.cpp).
    void readControl();
    void control(const QString& line);
    void logLine(const char* tag, const QByteArray& bytes);

    Options options_;
    DeviceEmulator device_;
    RequestFramer framer_;
    PseudoTerminal terminal_;
    AnswerQueue answers_;
    Output out_;
    ControlInput control_;
    bool log_;
    int listenBaud_;
};
