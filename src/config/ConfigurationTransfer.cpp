#include "config/ConfigurationTransfer.h"

#include "config/DeviceConfiguration.h"

// Filled in with the whole-configuration transfer.
bool DownloadConfiguration(DeviceConfiguration&, ConfigurationPages*) { return false; }
bool UploadConfiguration(DeviceConfiguration&) { return false; }
std::optional<int> ReadFormTable(DeviceConfiguration&) { return std::nullopt; }
