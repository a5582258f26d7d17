#pragma once

#include "shell/Progress.h"

class PageHost;
class WaitWindow;

// Progress shown on the main window's status bar, the wait window and the cursor.
class WindowProgress : public Progress {
public:
    // Either may be missing (a window-less benchmark): its part is not shown.
    WindowProgress(PageHost* host, WaitWindow* wait) : host_(host), wait_(wait) {}

    void begin() override;
    void step(int done, int total) override;
    void end() override;
    void setBusyCursor(bool busy) override;
    void showWait(const QString& text) override;
    void setWaitText(const QString& text) override;
    void setWaitCaption(const QString& caption) override;
    void hideWait() override;
    void processEvents() override;
    bool stopRequested() const override { return stopRequested_; }
    // The wait window's "Прервать".
    void requestStop() { stopRequested_ = true; }
    void clearStopRequest() { stopRequested_ = false; }

private:
    PageHost* host_;
    WaitWindow* wait_;
    bool busy_ = false;
    bool stopRequested_ = false;
};
