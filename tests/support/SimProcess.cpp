#include "support/SimProcess.h"

#include <QDeadlineTimer>

SimProcess::SimProcess(const QStringList& arguments, int startTimeoutMs)
    : channel_(NewSimChannel()) {
    QDeadlineTimer deadline(startTimeoutMs);
    if (!channel_->start(arguments, startTimeoutMs, error_)) return;
    while (portPath_.isEmpty() && !deadline.hasExpired() && channel_->isRunning())
        readLines(int(qMax<qint64>(1, deadline.remainingTime())));
    if (portPath_.isEmpty()) {
        readLines(0);
        error_ = QStringLiteral("zelvo-sim named no terminal within %1 ms").arg(startTimeoutMs);
        const QString said = channel_->standardError().trimmed();
        if (!said.isEmpty()) error_ += QStringLiteral(": ") + said;
    }
}

SimProcess::~SimProcess() {
    channel_->stop();
}

bool SimProcess::command(const QString& line, int timeoutMs) {
    lastReply_.clear();
    if (!channel_->isRunning()) return false;
    const int before = replies_;
    channel_->write(line.toUtf8() + '\n');
    QDeadlineTimer deadline(timeoutMs);
    while (replies_ == before && !deadline.hasExpired() && channel_->isRunning())
        readLines(int(qMax<qint64>(1, deadline.remainingTime())));
    return replies_ > before && lastReply_ == QLatin1String("OK");
}

QList<QByteArray> SimProcess::requests() {
    readLines(0);
    return requests_;
}

QList<QByteArray> SimProcess::responses() {
    readLines(0);
    return responses_;
}

bool SimProcess::waitForExchanges(int count, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    readLines(0);
    while (responses_.size() < count && !deadline.hasExpired() && channel_->isRunning())
        readLines(int(qMax<qint64>(1, deadline.remainingTime())));
    return responses_.size() >= count;
}

void SimProcess::clearLog() {
    readLines(0);
    requests_.clear();
    responses_.clear();
}

void SimProcess::readLines(int waitMs) {
    const QList<QByteArray> lines = channel_->readLines(waitMs);
    for (const QByteArray& whole : lines) {
        const QByteArray line = whole.trimmed();
        const int space = int(line.indexOf(' '));
        const QByteArray tag = space < 0 ? line : line.left(space);
        const QByteArray rest = space < 0 ? QByteArray() : line.mid(space + 1);
        if (tag == "PTY") {
            portPath_ = channel_->portName(QString::fromLocal8Bit(rest));
        } else if (tag == "OK" || tag == "ERR") {
            lastReply_ = QString::fromUtf8(line);
            ++replies_;
        } else if (tag == "REQ") {
            requests_.append(QByteArray::fromHex(rest));
        } else if (tag == "RSP") {
            responses_.append(QByteArray::fromHex(rest));
        }
    }
}
