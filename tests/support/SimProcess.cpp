#include "support/SimProcess.h"

#include <QDeadlineTimer>

SimProcess::SimProcess(const QStringList& arguments, int startTimeoutMs) {
    process_.setProgram(QStringLiteral(ZELVO_SIM_PATH));
    process_.setArguments(arguments);
    process_.start();
    QDeadlineTimer deadline(startTimeoutMs);
    if (!process_.waitForStarted(startTimeoutMs)) {
        error_ = QStringLiteral("zelvo-sim did not start: ") + process_.errorString();
        return;
    }
    while (portPath_.isEmpty() && !deadline.hasExpired() && process_.state() == QProcess::Running)
        readLines(int(qMax<qint64>(1, deadline.remainingTime())));
    if (portPath_.isEmpty()) {
        readLines(0);
        error_ = QStringLiteral("zelvo-sim named no terminal within %1 ms").arg(startTimeoutMs);
        const QString said = QString::fromLocal8Bit(process_.readAllStandardError()).trimmed();
        if (!said.isEmpty()) error_ += QStringLiteral(": ") + said;
    }
}

SimProcess::~SimProcess() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();
    if (!process_.waitForFinished(3000)) {
        process_.kill();
        process_.waitForFinished(3000);
    }
}

bool SimProcess::command(const QString& line, int timeoutMs) {
    lastReply_.clear();
    if (process_.state() != QProcess::Running) return false;
    const int before = replies_;
    process_.write(line.toUtf8() + '\n');
    QDeadlineTimer deadline(timeoutMs);
    while (replies_ == before && !deadline.hasExpired() && process_.state() == QProcess::Running)
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
    while (responses_.size() < count && !deadline.hasExpired() &&
           process_.state() == QProcess::Running)
        readLines(int(qMax<qint64>(1, deadline.remainingTime())));
    return responses_.size() >= count;
}

void SimProcess::clearLog() {
    readLines(0);
    requests_.clear();
    responses_.clear();
}

void SimProcess::readLines(int waitMs) {
    if (!process_.canReadLine()) process_.waitForReadyRead(waitMs);
    while (process_.canReadLine()) {
        const QByteArray line = process_.readLine().trimmed();
        const int space = int(line.indexOf(' '));
        const QByteArray tag = space < 0 ? line : line.left(space);
        const QByteArray rest = space < 0 ? QByteArray() : line.mid(space + 1);
        if (tag == "PTY") {
            portPath_ = QString::fromLocal8Bit(rest);
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
