// The simulator's console side: the control lines a test sends and the lines
// it reads back.

#include "emulator/EmulatorCommands.h"
#include "sim/SimSignals.h"
#include "sim/Simulator.h"

void Simulator::readControl() {
    bool ended = false;
    for (const QString& line : control_.read(ended)) control(line);
    if (ended && options_.exitOnEof) stopRequested = 1;
}

void Simulator::control(const QString& line) {
    QString error;
    if (line == QLatin1String("ping")) {
    } else if (line == QLatin1String("log on") || line == QLatin1String("log off")) {
        log_ = line.endsWith(QLatin1String("on"));
    } else if (line == QLatin1String("reset")) {
        device_.reset();
        listenBaud_ = options_.listenBaud;
        configure();
    } else if (line.startsWith(QLatin1String("listen "))) {
        bool ok = false;
        const int baud = line.mid(7).trimmed().toInt(&ok);
        if (ok && baud >= 0)
            listenBaud_ = baud;
        else
            error = QStringLiteral("listen needs BAUD (0: every speed)");
    } else {
        error = ApplyEmulatorCommand(device_, line);
    }
    out_.line(error.isEmpty() ? QByteArray("OK") : "ERR " + error.toUtf8());
}

void Simulator::logLine(const char* tag, const QByteArray& bytes) {
    if (!log_) return;
    QByteArray text(tag);
    if (!bytes.isEmpty()) text += ' ' + bytes.toHex(' ');
    out_.line(text);
}
