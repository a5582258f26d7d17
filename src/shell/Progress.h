#pragma once

// What a long device operation shows while it runs: the status-bar progress
// bar, the busy cursor and the wait window. The core drives it; the main
// window implements it; tests record it.

#include <QString>

class Progress {
public:
    virtual ~Progress() = default;

    virtual void begin() = 0;                        // ProgressBegin
    virtual void step(int done, int total) = 0;      // ProgressStep: done * 100 / total
    virtual void end() = 0;                          // ProgressEnd
    virtual void setBusyCursor(bool busy) = 0;       // the hourglass
    virtual void showWait(const QString& text) = 0;  // wait window, with its operation text
    virtual void setWaitText(const QString& text) = 0;
    virtual void setWaitCaption(const QString& caption) = 0;
    virtual void hideWait() = 0;
    virtual void processEvents() = 0;  // let the windows repaint once
    // The user asked to stop (the wait window's "Прервать", Ctrl+C on the
    // command line): the item loops end after the exchange in flight.
    virtual bool stopRequested() const { return false; }
};

// The percentage ProgressStep shows; integer division, done multiplied first.
int ProgressPercent(int done, int total);

// A progress that shows nothing: the default before a window takes over.
Progress& SilentProgress();

Progress& CurrentProgress();
void SetProgress(Progress* progress);
