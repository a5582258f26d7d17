#pragma once

#include <QStringList>

#include "shell/Progress.h"

// Records what a long operation shows, one line per call, e.g. "begin",
// "step 3/24", "busy on", "wait Данные операторов...", "caption Загрузка...".
class RecordingProgress : public Progress {
public:
    RecordingProgress();  // installs itself as the program's progress
    ~RecordingProgress() override;

    void begin() override { log << QStringLiteral("begin"); }
    void step(int done, int total) override {
        log << QStringLiteral("step %1/%2").arg(done).arg(total);
        ++steps;
    }
    void end() override { log << QStringLiteral("end"); }
    void setBusyCursor(bool busy) override {
        busyNow = busy;
        log << (busy ? QStringLiteral("busy on") : QStringLiteral("busy off"));
    }
    void showWait(const QString& text) override {
        waitVisible = true;
        waitText = text;
        log << QStringLiteral("wait ") + text;
    }
    void setWaitText(const QString& text) override {
        waitText = text;
        log << QStringLiteral("text ") + text;
    }
    void setWaitCaption(const QString& caption) override {
        waitCaption = caption;
        log << QStringLiteral("caption ") + caption;
    }
    void hideWait() override {
        waitVisible = false;
        log << QStringLiteral("hide");
    }
    void processEvents() override {}
    // The user's "Прервать" after `stopAfterSteps` progress steps.
    bool stopRequested() const override { return stopAfterSteps >= 0 && steps >= stopAfterSteps; }

    QStringList log;
    int steps = 0;
    int stopAfterSteps = -1;
    bool busyNow = false;
    bool waitVisible = false;
    QString waitText;
    QString waitCaption;

private:
    Progress* previous_;
};
