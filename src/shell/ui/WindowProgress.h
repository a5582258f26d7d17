#pragma once

#include "shell/Progress.h"

// Progress shown on the main window's status bar, the wait window and the cursor.
class WindowProgress : public Progress {
public:
    void begin() override;
    void step(int done, int total) override;
    void end() override;
    void setBusyCursor(bool busy) override;
    void showWait(const QString& text) override;
    void setWaitText(const QString& text) override;
    void setWaitCaption(const QString& caption) override;
    void hideWait() override;
    void processEvents() override;

private:
    bool busy_ = false;
};
