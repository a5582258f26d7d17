#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

// How a test reaches zelvo-sim: as a child process on Unix
// (PosixSimChannel.cpp); under Wine, where a Windows program cannot talk to
// the Linux simulator through pipes, through the broker that
// scripts/windows-test.sh runs beside the tests (Win32SimChannel.cpp).
class SimChannel {
public:
    virtual ~SimChannel() = default;
    // Starts the simulator with these options; false with the reason.
    virtual bool start(const QStringList& arguments, int timeoutMs, QString& error) = 0;
    virtual bool isRunning() = 0;
    // One control line, with its newline.
    virtual void write(const QByteArray& line) = 0;
    // The whole lines the simulator printed since the last call, waiting up to
    // waitMs for one when none has come.
    virtual QList<QByteArray> readLines(int waitMs) = 0;
    virtual QString standardError() = 0;
    // The port name the program opens for the terminal the simulator named.
    virtual QString portName(const QString& terminal) = 0;
    virtual void stop() = 0;
    // The simulator's own process, where the test can signal it; 0 where not.
    virtual qint64 processId() { return 0; }
};

std::unique_ptr<SimChannel> NewSimChannel();
