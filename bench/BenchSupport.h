#pragma once

// What the benchmarks share: medians, the port settings of a simulator run,
// and dialogs that answer Yes and count, so a failed item shows in a figure.

#include <QElapsedTimer>
#include <QString>
#include <algorithm>
#include <vector>

#include "device/PortSettings.h"
#include "shell/UserDialogs.h"

namespace bench {

constexpr int Baud = 115200;

inline double Ms(const QElapsedTimer& clock) {
    return double(clock.nsecsElapsed()) / 1e6;
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
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
