#include "config/ConfigurationFile.h"

#include <QFile>
#include <cstring>

#include "config/DeviceConfiguration.h"
#include "shell/Progress.h"
#include "shell/RegularFile.h"
#include "shell/SafeSave.h"
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

QByteArray EncodeConfigurationFile(const DeviceConfiguration& config) {
    QByteArray bytes(reinterpret_cast<const char*>(config.forms), int(FormTableSize));
    bytes.append(reinterpret_cast<const char*>(&config), int(ConfigurationBlockSize));
    return bytes;
}

bool DecodeConfigurationFile(DeviceConfiguration& config, const QByteArray& bytes) {
    if (bytes.size() != ConfigurationFileSize) return false;
    std::memcpy(config.forms, bytes.constData(), FormTableSize);
    std::memcpy(&config, bytes.constData() + FormTableSize, ConfigurationBlockSize);
    return true;
}

ConfigurationFileResult SaveConfigurationFile(const DeviceConfiguration& config,
                                              const QString& path) {
    // The file holds the operators' passwords.
    return SaveFileSafely(path, EncodeConfigurationFile(config), NewFileReaders::OwnerOnly)
               ? ConfigurationFileResult::Ok
               : ConfigurationFileResult::CannotCreate;
}

ConfigurationFileResult LoadConfigurationFile(DeviceConfiguration& config, const QString& path) {
    QFile file;
    if (!OpenRegularFile(file, path)) return ConfigurationFileResult::CannotOpen;
    if (!ReadPart(file, config.forms, FormTableSize) ||
        !ReadPart(file, &config, ConfigurationBlockSize))
        return ConfigurationFileResult::ReadFailed;
    return ConfigurationFileResult::Ok;
}

ConfigurationFileResult SaveConfigurationFileInteractive(const DeviceConfiguration& config,
                                                         const QString& path) {
    const ConfigurationFileResult result = SaveConfigurationFile(config, path);
    if (result == ConfigurationFileResult::Ok)
        Dialogs().success(QStringLiteral("Сохранено..."));
    else
        Dialogs().error(QStringLiteral("Не удалось создать файл..."));
    return result;
}

ConfigurationFileResult LoadConfigurationFileInteractive(DeviceConfiguration& config,
                                                         const QString& path) {
    const ConfigurationFileResult result = LoadConfigurationFile(config, path);
    switch (result) {
        case ConfigurationFileResult::Ok:
            Dialogs().success(QStringLiteral("Считано..."));
            break;
        case ConfigurationFileResult::CannotOpen:
            Dialogs().error(FileMessage(QStringLiteral("Не удалось открыть файл..."), path,
                                        FileOpenFailureCause(path)));
            break;
        default:
            CurrentProgress().setBusyCursor(false);
            Dialogs().warning(QStringLiteral("Файл конфигурации некорректен..."));
            break;
    }
    return result;
}
