#pragma once

#include <QString>

struct DeviceConfiguration;

// The *.cfg file: the 32-byte form table, then the 2804-byte block.
// The main window's "Выгрузить из файла" and "Загрузить в файл" drive these
// through the user dialogs.
void LoadConfigurationFileInteractive(DeviceConfiguration& config, const QString& path);
void SaveConfigurationFileInteractive(const DeviceConfiguration& config, const QString& path);
