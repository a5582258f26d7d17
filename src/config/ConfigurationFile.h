#pragma once

// The *.cfg file: a raw image of the configuration, the 32-byte form table
// followed by the first 2804 bytes of DeviceConfiguration. No header, no
// checksum; texts in Windows-1251 as the model holds them.

#include <QByteArray>
#include <QString>

struct DeviceConfiguration;

// Bytes of a configuration file as the tool writes it.
constexpr int ConfigurationFileSize = 2836;

enum class ConfigurationFileResult {
    Ok,
    CannotCreate,  // save: the file could not be created, written or put in place
    CannotOpen,    // load: no regular file that could be opened
    ReadFailed,    // load: a read failed; what was read before stays in the model
};

// The bytes of a configuration file, and the model from exactly that many
// bytes (false, the model untouched, for any other length).
QByteArray EncodeConfigurationFile(const DeviceConfiguration& config);
bool DecodeConfigurationFile(DeviceConfiguration& config, const QByteArray& bytes);

// Writes the form table, then the block, through SaveFileSafely: a save that
// fails leaves any earlier file as it was (SafeSave.h names the one case in
// which the file is written in place). A new file is readable by its owner
// only; one that exists keeps its mode.
ConfigurationFileResult SaveConfigurationFile(const DeviceConfiguration& config,
                                              const QString& path);

// Reads up to 32 bytes into the form table, then up to 2804 bytes into the
// block, straight into the model. A short file fills the model only as far as
// it reaches; bytes after the 2836th are not read. No content check is made.
ConfigurationFileResult LoadConfigurationFile(DeviceConfiguration& config, const QString& path);

// The menu items "Загрузить в файл" and "Выгрузить из файла" after their file
// dialogs: run the save or load and tell the user the outcome.
ConfigurationFileResult SaveConfigurationFileInteractive(const DeviceConfiguration& config,
                                                         const QString& path);
ConfigurationFileResult LoadConfigurationFileInteractive(DeviceConfiguration& config,
                                                         const QString& path);
