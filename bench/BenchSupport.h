#pragma once

// What the benchmarks share: medians, the port settings of a simulator run,
// and dialogs that answer Yes and count, so a failed item shows in a figure.

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "device/PortSettings.h"
#include "shell/UserDialogs.h"
#include "support/SimProcess.h"

namespace bench {

constexpr int Baud = 115200;

inline double Ms(const QElapsedTimer& clock) {
    return double(clock.nsecsElapsed()) / 1e6;
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

// The simulator's arguments: its log, and pacing at the figures' line speed.
inline QStringList SimArguments(bool paced) {
    QStringList arguments{QStringLiteral("--log")};
    if (paced) arguments << QStringLiteral("--pace") << QString::number(Baud);
    return arguments;
}

// True when the simulator runs; otherwise says why on standard error.
inline bool SimStarted(const SimProcess& sim) {
    if (sim.isReady()) return true;
    std::fprintf(stderr, "zelvo-sim did not start: %s\n", qPrintable(sim.errorString()));
    return false;
}

// The program talks to the simulator's terminal at the line speed of the figures.
inline void UsePort(const QString& path) {
    PortSettings& settings = CurrentPortSettings();
    settings.PortName = path;
    settings.BaudRate = Baud;
    settings.ByteTimeout = 250;
    settings.TotalTimeout = 2500;
    settings.MachineNumber = "0";
    settings.Applied = true;
}

class CountingDialogs : public UserDialogs {
public:
    bool ask(const QString&, const QString&, DialogIcon) override {
        ++questions;
        return true;
    }
    void inform(const QString&, const QString&, DialogIcon) override { ++messages; }
    int questions = 0;
    int messages = 0;
};

}  // namespace bench
