#pragma once

#include <exception>

#include "shell/Progress.h"

// Takes the indicators down when a command throws half-way (a factory number
// that does not convert), so that no wait window or hourglass is left behind.
// On the normal paths each operation closes them itself, in its own order.
class IndicatorsOnThrow {
public:
    explicit IndicatorsOnThrow(Progress& progress)
        : progress_(progress), exceptions_(std::uncaught_exceptions()) {}
    ~IndicatorsOnThrow() {
        if (std::uncaught_exceptions() <= exceptions_) return;
        progress_.end();
        progress_.setBusyCursor(false);
        progress_.hideWait();
    }
    IndicatorsOnThrow(const IndicatorsOnThrow&) = delete;
    IndicatorsOnThrow& operator=(const IndicatorsOnThrow&) = delete;

private:
    Progress& progress_;
    int exceptions_;
};
