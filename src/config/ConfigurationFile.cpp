#include "config/ConfigurationFile.h"

#include <QFile>
#include <QSaveFile>
#include <cstring>

#include "config/DeviceConfiguration.h"
#include "shell/Progress.h"
#include "shell/UserDialogs.h"

static_assert(FormTableSize + ConfigurationBlockSize == std::size_t(ConfigurationFileSize));

namespace {

// Reads up to `size` bytes into `target`; false on a read error. A short read
// (the end of the file) copies what came and is not an error.
bool ReadPart(QFile& file, void* target, std::size_t size) {
    QByteArray buffer(int(size), '\0');
    const qint64 got = file.read(buffer.data(), qint64(size));
    if (got < 0) return false;
    std::memcpy(target, buffer.constData(), std::size_t(got));
    return true;
}

}  // namespace

ConfigurationFileResult SaveConfigurationFile(const DeviceConfiguration& config,
                                              const QString& path) {
    // Written beside the target and renamed over it only when complete, so a
    // full disk or a vanished directory never leaves a truncated configuration.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return ConfigurationFileResult::CannotCreate;
    const auto* table = reinterpret_cast<const char*>(config.forms);
    const auto* block = reinterpret_cast<const char*>(&config);
    if (file.write(table, qint64(FormTableSize)) != qint64(FormTableSize) ||
        file.write(block, qint64(ConfigurationBlockSize)) != qint64(ConfigurationBlockSize))
        return ConfigurationFileResult::CannotCreate;  // never committed: the old file stays
    // commit() of this Qt puts the file in place even when the final flush of
    // its buffer failed (a full disk), so the flush is checked first; without
    // a commit the temporary file is discarded and the old file stays.
    if (!file.flush()) return ConfigurationFileResult::CannotCreate;
    return file.commit() ? ConfigurationFileResult::Ok : ConfigurationFileResult::CannotCreate;
}

ConfigurationFileResult LoadConfigurationFile(DeviceConfiguration& config, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return ConfigurationFileResult::CannotOpen;
    if (!ReadPart(file, config.forms, FormTableSize) ||
        !ReadPart(file, &config, ConfigurationBlockSize))
        return ConfigurationFileResult::ReadFailed;
    return ConfigurationFileResult::Ok;
}

ConfigurationFileResult SaveConfigurationFileInteractive(const DeviceConfiguration& config,
                                                         const QString& path) {
    const ConfigurationFileResult result = SaveConfigurationFile(config, path);
    if (result == ConfigurationFileResult::Ok)
        Dialogs().warning(QStringLiteral("Сохранено..."));
    else
        Dialogs().error(QStringLiteral("Не удалось создать файл..."));
    return result;
}

ConfigurationFileResult LoadConfigurationFileInteractive(DeviceConfiguration& config,
                                                         const QString& path) {
    const ConfigurationFileResult result = LoadConfigurationFile(config, path);
    switch (result) {
        case ConfigurationFileResult::Ok:
            Dialogs().warning(QStringLiteral("Считано..."));
            break;
        case ConfigurationFileResult::CannotOpen:
            Dialogs().error(QStringLiteral("Не удалось открыть файл..."));
            break;
        default:
            CurrentProgress().setBusyCursor(false);
            Dialogs().warning(QStringLiteral("Файл конфигурации некорректен..."));
            break;
    }
    return result;
}
