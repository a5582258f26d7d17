#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

#include "support/SimChannel.h"

// Runs zelvo-sim for a test or a benchmark: starts it with the given options,
// waits for the pseudo-terminal it serves (portPath(): its path, or on
// Windows the COM port it is linked as), talks to its control channel and
// collects its exchange log (with --log). Stops the simulator when destroyed.
// Uses no event loop of its own, so it works in blocking code as well.
class SimProcess {
public:
    explicit SimProcess(const QStringList& arguments = {}, int startTimeoutMs = 5000);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // True once the simulator has named its terminal.
    bool isReady() const { return !portPath_.isEmpty(); }
    // Why it is not ready: the start failure and whatever the simulator said.
    QString errorString() const { return error_; }
    QString portPath() const { return portPath_; }
    // The simulator's process id where it runs as a child of the test; 0 otherwise.
    qint64 processId() const { return channel_->processId(); }

    // Sends one control line and waits for its answer; true for OK.
    bool command(const QString& line, int timeoutMs = 5000);
    // The answer to the last command: "OK", "ERR <reason>", or empty on time-out.
    QString lastReply() const { return lastReply_; }

    // The frames logged so far, oldest first (needs --log).
    QList<QByteArray> requests();
    QList<QByteArray> responses();
    // Waits until at least `count` exchanges have been logged.
    bool waitForExchanges(int count, int timeoutMs = 5000);
    void clearLog();

private:
    // Parses the lines available now, waiting up to waitMs for one if none is.
    void readLines(int waitMs);

    std::unique_ptr<SimChannel> channel_;
    QString portPath_;
    QString error_;
    QString lastReply_;
    int replies_ = 0;
    QList<QByteArray> requests_;
    QList<QByteArray> responses_;
};
