#include "cli/CommandSupport.h"

#include <QDir>
#include <QFileInfo>

#include "cli/CliSession.h"
#include "cli/ExitCode.h"
#include "cli/Interrupt.h"
#include "device/ConnectionSettings.h"
#include "device/ExchangeLog.h"
#include "device/ExchangeLogText.h"
#include "device/PortNames.h"
#include "device/Protocol.h"
#include "device/links/NetworkAddress.h"

namespace {

QString LogFileName() {
    return QStringLiteral("Журнал обмена");
}

// "Не удалось создать файл..." of the window program; named when it is not the command's own file.
QString CannotCreateMessage(const QString& what) {
    const QString text = QStringLiteral("Не удалось создать файл...");
    return what.isEmpty() ? text : what + QStringLiteral(": ") + text;
}

}  // namespace

int UsageError(CliSession& session, const QString& text) {
    session.dialogs.error(text);
    return ExitUsage;
}

int ApplyConnection(CliSession& session) {
    const CommandLine& line = session.line;
    // The log is saved when the command ends, whatever the outcome; a name it
    // cannot have is found out before anything is sent.
    if (line.isSet(QStringLiteral("log")) &&
        !CanCreateFile(session, line.value(QStringLiteral("log")), LogFileName()))
        return ExitFileFailed;
    ConnectionFields fields;
    if (line.isSet(QStringLiteral("port"))) {
        const QString port = line.value(QStringLiteral("port"));
        fields.port = port == QLatin1String("emulator") ? EmulatorPortName() : port;
        if (fields.port.isEmpty()) return UsageError(session, QStringLiteral("Не указан порт."));
        if (IsNetworkPortName(port) && !ParseNetworkAddress(port))
            return UsageError(session, NetworkAddressInvalidReason(port));
    }
    if (line.isSet(QStringLiteral("speed"))) {
        fields.speed = line.value(QStringLiteral("speed"));
        if (!BaudRateChoices().contains(fields.speed))
            return UsageError(session,
                              QStringLiteral("Скорость «%1» не поддерживается; можно: %2.")
                                  .arg(fields.speed, BaudRateChoices().join(QStringLiteral(", "))));
    }
    if (line.isSet(QStringLiteral("number"))) {
        fields.machineNumber = line.value(QStringLiteral("number")).trimmed();
        if (fields.machineNumber.isEmpty() || fields.machineNumber.size() > MachineNumberMaxLength)
            return UsageError(
                session,
                QStringLiteral("Заводской номер: от 1 до %1 знаков.").arg(MachineNumberMaxLength));
    }
    for (const auto& [name, field] :
         {std::pair<QString, QString*>{QStringLiteral("byte-timeout"), &fields.byteTimeout},
          {QStringLiteral("total-timeout"), &fields.totalTimeout}}) {
        if (!line.isSet(name)) continue;
        *field = line.value(name);
        int value = 0;
        if (!ParseNumber(*field, 0, MaxTimeoutMs, value))
            return UsageError(session, QStringLiteral("--%1: «%2» — нужно целое число "
                                                      "миллисекунд от 0 до %3.")
                                           .arg(name, *field)
                                           .arg(MaxTimeoutMs));
    }
    try {
        ApplyConnectionFields(fields, CurrentPortSettings());
        // Every frame converts it; a number that does not convert is told
        // before anything is sent.
        MachineNumberValue(CurrentPortSettings().MachineNumber);
    } catch (const ConversionError& error) {
        return UsageError(session, error.message());
    }
    return ExitDone;
}

int TransferExit(const CliSession& session, bool completed) {
    if (InterruptRequested()) return ExitInterrupted;
    if (!completed || session.dialogs.failed()) return ExitDeviceFailed;
    return ExitDone;
}

bool ParseNumber(const QString& text, int min, int max, int& value) {
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    bool ok = false;
    value = text.toInt(&ok, 10);
    return ok && value >= min && value <= max;
}

bool CanCreateFile(CliSession& session, const QString& path, const QString& what) {
    const QFileInfo info(path);
    if (!path.isEmpty() && !info.isDir() && info.absoluteDir().exists()) return true;
    session.dialogs.error(CannotCreateMessage(what));
    return false;
}

int SaveLogIfAsked(CliSession& session, int exitCode) {
    const CommandLine& line = session.line;
    if (!line.isSet(QStringLiteral("log")) || exitCode == ExitUsage) return exitCode;
    if (SaveExchangeLog(ProgramExchangeLog(), line.value(QStringLiteral("log")))) return exitCode;
    session.dialogs.error(CannotCreateMessage(LogFileName()));
    return exitCode == ExitDone ? ExitFileFailed : exitCode;
}
