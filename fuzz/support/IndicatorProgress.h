#pragma once

#include "shell/Progress.h"

// Progress of a fuzzed run: keeps which indicators are up, so that a run can
// check that an operation takes them all down however it ended, and asks the
// loops to stop after a given number of items as the wait window's button
// would. Installs itself as the program's progress.
class IndicatorProgress : public Progress {
public:
    // stopAfterItems < 0: never asks to stop.
    explicit IndicatorProgress(int stopAfterItems = -1);
    ~IndicatorProgress() override;
    IndicatorProgress(const IndicatorProgress&) = delete;
    IndicatorProgress& operator=(const IndicatorProgress&) = delete;

    void begin() override { barShown_ = true; }
    void step(int done, int total) override;
    void end() override { barShown_ = false; }
    void setBusyCursor(bool busy) override { busy_ = busy; }
    void showWait(const QString& text) override;
    void setWaitText(const QString&) override {}
    void setWaitCaption(const QString&) override {}
    void hideWait() override { waitShown_ = false; }
    void processEvents() override { ++items_; }
    bool stopRequested() const override;

    // No bar, no hourglass, no wait window.
    void checkAllDown() const;

private:
    int stopAfterItems_;
    int items_ = 0;
    bool barShown_ = false;
    bool busy_ = false;
    bool waitShown_ = false;
};
