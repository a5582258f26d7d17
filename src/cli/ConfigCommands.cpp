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
#include "image/WholeConfigurationTransfer.h"
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

// The device's word on an item in JSON: absent when it answered with the value.
QString DeviceStateWord(DeviceValueState state) {
    switch (state) {
        case DeviceValueState::Unknown:
            return QStringLiteral("unknown");
        case DeviceValueState::Absent:
            return QStringLiteral("absent");
        case DeviceValueState::Read:
            break;
    }
    return {};
}

// The differences between the device and `file`, into the report: one line
// each (item, the device's value, the file's value, separated by tabs) and
// "differences" in JSON. An item that could not be read is one of them, its
// device value "не прочитано" (null in JSON, with "deviceState"), and named
// once more in a warning. Empty when the device was not read to the end;
// `device` receives what was read.
std::optional<QVector<ConfigurationDifference>> CompareWithDevice(CliSession& session,
                                                                  const DeviceConfiguration& file,
                                                                  DeviceConfiguration& device) {
    device = file;
    UnreadItems unread;
    if (!ReadConfigurationForComparison(device, unread)) return std::nullopt;
    const QVector<ConfigurationDifference> differences =
        CompareConfigurations(device, file, unread);
    QJsonArray items;
    for (const ConfigurationDifference& difference : differences) {
        session.report.line(difference.name + QLatin1Char('\t') + difference.deviceValue +
                            QLatin1Char('\t') + difference.programValue);
        QJsonObject item{{QStringLiteral("item"), difference.name},
                         {QStringLiteral("device"), difference.deviceValue},
                         {QStringLiteral("file"), difference.programValue}};
        if (difference.deviceState != DeviceValueState::Read) {
            item.insert(QStringLiteral("device"), QJsonValue::Null);
            item.insert(QStringLiteral("deviceState"), DeviceStateWord(difference.deviceState));
        }
        if (!difference.skipReason.isEmpty())
            item.insert(QStringLiteral("notWritten"), difference.skipReason);
        if (!difference.inexactReason.isEmpty() && difference.skipReason.isEmpty())
            item.insert(QStringLiteral("inexact"), difference.inexactReason);
        items.append(item);
    }
    session.report.set(QStringLiteral("differences"), items);
    session.report.set(QStringLiteral("unknown"), UnknownItemCount(differences));
    if (differences.isEmpty()) session.dialogs.warning(NoDifferencesText());
    for (const QString& warning :
         {UnknownItemsText(differences), SkippedDifferencesText(differences)})
        if (!warning.isEmpty()) session.dialogs.warning(warning);
    return differences;
}

int RunConfigWriteChanged(CliSession& session, const DeviceConfiguration& file) {
    static DeviceConfiguration device;
    const auto differences = CompareWithDevice(session, file, device);
    if (!differences) return TransferExit(session, false);
    // What the upload would pass over has been named; with nothing else there
    // is no upload to report as written.
    const QVector<ConfigurationItem> writable = WrittenItems(*differences);
    if (writable.isEmpty()) return TransferExit(session, true);
    // Said before the first frame, as the editors say it before a character
    // goes into a line.
    if (const QString inexact = InexactDifferencesText(*differences); !inexact.isEmpty())
        session.dialogs.warning(inexact);
    // The device's own access flags decide what goes out, as they decided
    // what the comparison named as passed over.
    static DeviceConfiguration upload;
    upload = WithDeviceAccess(file, device);
    return TransferExit(session, UploadConfigurationAndForms(upload, writable));
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
    static DeviceConfiguration device;
    return TransferExit(session, CompareWithDevice(session, config, device).has_value());
}
