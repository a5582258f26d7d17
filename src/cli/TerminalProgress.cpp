#include "cli/TerminalProgress.h"

#include "cli/ErrorStream.h"
#include "cli/Interrupt.h"

namespace {

constexpr int BarWidth = 20;
// A redraw per item would cost more than the exchange of an unpaced device.
constexpr qint64 RedrawIntervalMs = 100;

}  // namespace

TerminalProgress::TerminalProgress(ErrorStream& stream) : stream_(stream) {}

void TerminalProgress::begin() {
    done_ = 0;
    total_ = 0;
    started_.start();
    drawnAtMs_ = -1;
}

void TerminalProgress::step(int done, int total) {
    done_ = done;
    total_ = total;
    if (!started_.isValid()) started_.start();
    draw(done >= total);
}

void TerminalProgress::end() {
    stream_.clearBar();
}

void TerminalProgress::showWait(const QString& text) {
    operation_ = text;
}

void TerminalProgress::setWaitText(const QString& text) {
    operation_ = text;
}

void TerminalProgress::hideWait() {
    stream_.clearBar();
}

bool TerminalProgress::stopRequested() const {
    return InterruptRequested();
}

QString TerminalProgress::howFar() const {
    if (total_ <= 0) return operation_;
    const QString count = QStringLiteral("%1 из %2").arg(done_).arg(total_);
    return operation_.isEmpty() ? count : operation_ + QStringLiteral(": ") + count;
}

QString TerminalProgress::barText(const QString& operation, int done, int total, qint64 elapsedMs) {
    const int filled = total > 0 ? int(qint64(done) * BarWidth / total) : 0;
    const QString bar =
        QString(filled, QLatin1Char('#')) + QString(BarWidth - filled, QLatin1Char('-'));
    const qint64 seconds = elapsedMs / 1000;
    const QString elapsed = QStringLiteral("%1:%2")
                                .arg(seconds / 60, 2, 10, QLatin1Char('0'))
                                .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    const double rate = elapsedMs > 0 ? done * 1000.0 / double(elapsedMs) : 0.0;
    QString text = QStringLiteral("[%1] %2 из %3  %4  %5/с")
                       .arg(bar)
                       .arg(done)
                       .arg(total)
                       .arg(elapsed)
                       .arg(rate, 0, 'f', 1);
    return operation.isEmpty() ? text : operation + QLatin1Char(' ') + text;
}

void TerminalProgress::draw(bool force) {
    if (!stream_.isTerminal()) return;
    const qint64 now = started_.elapsed();
    if (!force && drawnAtMs_ >= 0 && now - drawnAtMs_ < RedrawIntervalMs) return;
    drawnAtMs_ = now;
    stream_.showBar(barText(operation_, done_, total_, now));
}
