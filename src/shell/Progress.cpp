#include "shell/Progress.h"

#include "shell/ProgressCount.h"

namespace {

class NoProgress : public Progress {
public:
    void begin() override {}
    void step(int, int) override {}
    void end() override {}
    void setBusyCursor(bool) override {}
    void showWait(const QString&) override {}
    void setWaitText(const QString&) override {}
    void setWaitCaption(const QString&) override {}
    void hideWait() override {}
    void processEvents() override {}
};

Progress* g_progress = nullptr;

}  // namespace

int ProgressPercent(int done, int total) {
    if (total <= 0) return 0;
    return int(qint64(done) * 100 / total);
}

QString ProgressCountText(const QString& operation, int done, int total) {
    const QString count = QStringLiteral("%1 из %2").arg(done).arg(total);
    QString name = operation.trimmed();
    while (name.endsWith(QLatin1Char('.'))) name.chop(1);
    name = name.trimmed();
    return name.isEmpty() ? count : name + QStringLiteral(": ") + count;
}

Progress& SilentProgress() {
    static NoProgress none;
    return none;
}

Progress& CurrentProgress() {
    return g_progress ? *g_progress : SilentProgress();
}

void SetProgress(Progress* progress) {
    g_progress = progress;
}
