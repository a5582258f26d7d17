#pragma once

// zelvo-sim's command line: what the simulator starts with.

#include <QString>
#include <QStringList>

class QCoreApplication;

struct Options {
    QString link;
    QStringList startup;  // control lines that make the start-up state
    bool log = false;
    bool exitOnEof = false;
    qint64 gapNs = 300'000'000;
    int listenBaud = 0;  // 0: every speed
};

// Reads the options (--help and --version exit here); false with a message on
// stderr when one is wrong.
bool ParseOptions(const QCoreApplication& app, Options& options);
