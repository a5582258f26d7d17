// ports and find.

#include <QJsonArray>
#include <QJsonObject>

#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "cli/CommandSupport.h"
#include "cli/ExitCode.h"
#include "cli/Interrupt.h"
#include "device/ConnectionSettings.h"
#include "device/DeviceFinder.h"
#include "device/PortNames.h"
#include "device/Protocol.h"

int RunPorts(CliSession& session) {
    QJsonArray ports;
    for (const PortEntry& entry : AvailablePorts()) {
        // The COM items with no device behind them are only the dialog's choices.
        const bool emulator = entry.name == EmulatorPortName();
        if (!entry.present && !emulator) continue;
        const QString name = emulator ? QStringLiteral("emulator") : entry.name;
        const QString description = emulator ? EmulatorPortName() : entry.description.trimmed();
        const QString path = emulator ? QString() : PortPath(entry.name);
        QString text = name;
        if (path != name && !path.isEmpty()) text += QStringLiteral(" (") + path + QLatin1Char(')');
        if (!description.isEmpty()) text += QStringLiteral(" — ") + description;
        session.report.line(text);
        ports.append(QJsonObject{{QStringLiteral("name"), name},
                                 {QStringLiteral("path"), path},
                                 {QStringLiteral("description"), description}});
    }
    session.report.set(QStringLiteral("ports"), ports);
    return ExitDone;
}

int RunFind(CliSession& session) {
    const CommandLine& line = session.line;
    const QByteArray number = line.isSet(QStringLiteral("number"))
                                  ? line.value(QStringLiteral("number")).trimmed().toLatin1()
                                  : QByteArrayLiteral("0");
    int firstSpeed = DefaultBaudRate;
    if (line.isSet(QStringLiteral("speed")) &&
        (!BaudRateChoices().contains(line.value(QStringLiteral("speed"))) ||
         !ParseNumber(line.value(QStringLiteral("speed")), 1, 1000000, firstSpeed)))
        return UsageError(session, QStringLiteral("Скорость «%1» не поддерживается; можно: %2.")
                                       .arg(line.value(QStringLiteral("speed")),
                                            BaudRateChoices().join(QStringLiteral(", "))));
    // Ports given with --port are asked instead of all of the system's.
    const QStringList ports = line.isSet(QStringLiteral("port"))
                                  ? line.values(QStringLiteral("port"))
                                  : SearchablePortNames();
    MachineNumberValue(number);  // a number that does not convert: wrong usage, nothing sent

    TerminalProgress& progress = session.progress;
    progress.showWait(QStringLiteral("Поиск АС..."));
    progress.begin();
    const DeviceSearchResult result =
        FindDevice(ports, number, firstSpeed, [&](const DeviceSearchStep& step) {
            if (step.done > 0) progress.step(step.done, step.total);
            return !InterruptRequested();
        });
    progress.end();
    progress.hideWait();

    // The summary names the ports asked and those that did not open.
    const QString summary = DeviceSearchSummary(result, number);
    QJsonArray skipped;
    for (const SkippedPort& port : result.skipped)
        skipped.append(QJsonObject{{QStringLiteral("port"), port.portName},
                                   {QStringLiteral("reason"), port.reason}});
    session.report.set(QStringLiteral("found"), result.found);
    session.report.set(QStringLiteral("port"), result.found ? result.portName : QString());
    session.report.set(QStringLiteral("speed"), result.found ? result.baudRate : 0);
    session.report.set(QStringLiteral("factoryNumberWrong"), result.factoryNumberWrong);
    session.report.set(QStringLiteral("deviceError"), int(result.deviceError));
    session.report.set(QStringLiteral("portsAsked"), result.portsAsked);
    session.report.set(QStringLiteral("probes"), result.probes);
    session.report.set(QStringLiteral("skipped"), skipped);
    if (result.stopped) return ExitInterrupted;
    if (!result.found || result.factoryNumberWrong) {
        session.dialogs.error(summary);
        return ExitDeviceFailed;
    }
    if (result.deviceError == 0)
        session.dialogs.success(summary);
    else
        session.dialogs.warning(summary);
    // For a script: `set -- $(zelvo-cli find)` gives the port and the speed.
    session.report.line(result.portName + QLatin1Char(' ') + QString::number(result.baudRate));
    return ExitDone;
}
