#pragma once

#include <QElapsedTimer>
#include <QString>

#include "shell/Progress.h"

class ErrorStream;

// The wait window and the progress bar of the window program on a terminal:
// one line on standard error with the operation, the bar, item k of n, the
// time elapsed and the rate. Nothing is drawn when standard error is not a
// terminal. Ctrl+C is the wait window's "Прервать".
class TerminalProgress : public Progress {
public:
    explicit TerminalProgress(ErrorStream& stream);

    void begin() override;
    void step(int done, int total) override;
    void end() override;
    void setBusyCursor(bool) override {}
    void showWait(const QString& text) override;
    void setWaitText(const QString& text) override;
    void setWaitCaption(const QString&) override {}
    void hideWait() override;
    void processEvents() override {}
    bool stopRequested() const override;

    // How far the last operation got: "Загрузка товаров...: 517 из 1001".
    QString howFar() const;
    int done() const { return done_; }
    int total() const { return total_; }
    QString operation() const { return operation_; }

    // The line drawn for item `done` of `total` after `elapsedMs`.
    static QString barText(const QString& operation, int done, int total, qint64 elapsedMs);

private:
    void draw(bool force);

    ErrorStream& stream_;
    QString operation_;
    int done_ = 0;
    int total_ = 0;
    QElapsedTimer started_;
    qint64 drawnAtMs_ = -1;
};
