// config read FILE, config write FILE [--changed] and config diff FILE.

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <cstring>
#include <optional>

#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "cli/CommandSupport.h"
#include "cli/ExitCode.h"
#include "config/ConfigurationDiff.h"
#include "config/ConfigurationFile.h"
#include "config/ConfigurationTransfer.h"
#include "config/DeviceConfiguration.h"
#include "config/UploadSkips.h"
#include "shell/RegularFile.h"

namespace {

// The configuration as the window program starts with it.
void ResetAll(DeviceConfiguration& config) {
    std::memset(&config, 0, sizeof config);
    ResetFormTable(config);
    ResetConfiguration(config);
}

}  // namespace

int RunConfigRead(CliSession& session) {
    const QString path = session.line.arguments().value(0);
    if (const int code = ApplyConnection(session); code != ExitDone) return code;
    session.report.set(QStringLiteral("file"), path);
    if (!CanCreateFile(session, path)) return ExitFileFailed;
    static DeviceConfiguration config;
    ResetAll(config);
    const bool completed = DownloadConfiguration(config);
    // A stopped download is not saved: the file keeps what it held.
    if (!completed) return TransferExit(session, completed);
    if (SaveConfigurationFileInteractive(config, path) != ConfigurationFileResult::Ok)
        return ExitFileFailed;
    return TransferExit(session, completed);
}

namespace {

// Loads a whole configuration file into `config`. The window program loads a
// short file as far as it reaches; a script that sends one to many devices must
// not send the defaults behind it. ExitDone, or ExitFileFailed after telling why.
int LoadWholeFile(CliSession& session, const QString& path, DeviceConfiguration& config) {
    QFile file;
    if (!OpenRegularFile(file, path)) {
        session.dialogs.error(FileMessage(QStringLiteral("Не удалось открыть файл..."), path,
                                          FileOpenFailureCause(path)));
        return ExitFileFailed;
    }
    const qint64 size = file.size();
    file.close();
    if (size != ConfigurationFileSize) {
        session.dialogs.error(QStringLiteral("Файл конфигурации некорректен...\n"
                                             "Размер %1 байт, а файл конфигурации — %2 байт. "
                                             "Ничего не отправлено.")
                                  .arg(size)
                                  .arg(ConfigurationFileSize));
        return ExitFileFailed;
    }
    ResetAll(config);
    if (LoadConfigurationFileInteractive(config, path) != ConfigurationFileResult::Ok)
        return ExitFileFailed;
    return ExitDone;
}

// The differences between the device and `file`, into the report: one line
// each (item, the device's value, the file's value, separated by tabs) and
// "differences" in JSON. Empty when the device was not read to the end.
std::optional<QVector<ConfigurationDifference>> CompareWithDevice(CliSession& session,
                                                                  const DeviceConfiguration& file) {
    static DeviceConfiguration device;
    device = file;
    if (!ReadConfigurationForComparison(device)) return std::nullopt;
    const QVector<ConfigurationDifference> differences = CompareConfigurations(device, file);
    QJsonArray items;
    for (const ConfigurationDifference& difference : differences) {
        session.report.line(difference.name + QLatin1Char('\t') + difference.deviceValue +
                            QLatin1Char('\t') + difference.programValue);
        QJsonObject item{{QStringLiteral("item"), difference.name},
                         {QStringLiteral("device"), difference.deviceValue},
                         {QStringLiteral("file"), difference.programValue}};
        if (!difference.skipReason.isEmpty())
            item.insert(QStringLiteral("notWritten"), difference.skipReason);
        items.append(item);
    }
    session.report.set(QStringLiteral("differences"), items);
    if (differences.isEmpty()) session.dialogs.warning(NoDifferencesText());
    const QString skipped = SkippedDifferencesText(differences);
    if (!skipped.isEmpty()) session.dialogs.warning(skipped);
    return differences;
}

int RunConfigWriteChanged(CliSession& session, const DeviceConfiguration& file) {
    const auto differences = CompareWithDevice(session, file);
    if (!differences) return TransferExit(session, false);
    // What the upload would pass over has been named; with nothing else there
    // is no upload to report as written.
    const QVector<ConfigurationItem> writable = WrittenItems(*differences);
    if (writable.isEmpty()) return TransferExit(session, true);
    return TransferExit(session, UploadConfigurationItems(file, writable));
}

}  // namespace

int RunConfigWrite(CliSession& session) {
    const QString path = session.line.arguments().value(0);
    if (const int code = ApplyConnection(session); code != ExitDone) return code;
    session.report.set(QStringLiteral("file"), path);
    static DeviceConfiguration config;
    if (const int code = LoadWholeFile(session, path, config); code != ExitDone) return code;
    if (session.line.isSet(QStringLiteral("changed")))
        return RunConfigWriteChanged(session, config);
    return TransferExit(session, UploadConfiguration(config));
}

int RunConfigDiff(CliSession& session) {
    const QString path = session.line.arguments().value(0);
    if (const int code = ApplyConnection(session); code != ExitDone) return code;
    session.report.set(QStringLiteral("file"), path);
    static DeviceConfiguration config;
    if (const int code = LoadWholeFile(session, path, config); code != ExitDone) return code;
    return TransferExit(session, CompareWithDevice(session, config).has_value());
}
