// config read FILE and config write FILE.

#include <QFile>
#include <cstring>

#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "cli/CommandSupport.h"
#include "cli/ExitCode.h"
#include "config/ConfigurationFile.h"
#include "config/ConfigurationTransfer.h"
#include "config/DeviceConfiguration.h"
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

int RunConfigWrite(CliSession& session) {
    const QString path = session.line.arguments().value(0);
    if (const int code = ApplyConnection(session); code != ExitDone) return code;
    session.report.set(QStringLiteral("file"), path);
    // The window program loads a short file as far as it reaches; a script
    // that sends one to many devices must not send the defaults behind it.
    QFile file;
    if (!OpenRegularFile(file, path)) {
        session.dialogs.error(QStringLiteral("Не удалось открыть файл..."));
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
    static DeviceConfiguration config;
    ResetAll(config);
    if (LoadConfigurationFileInteractive(config, path) != ConfigurationFileResult::Ok)
        return ExitFileFailed;
    return TransferExit(session, UploadConfiguration(config));
}
