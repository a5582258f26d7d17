#include "config/ConfigurationFile.h"

#include "config/DeviceConfiguration.h"

// Filled in with the configuration file.
void LoadConfigurationFileInteractive(DeviceConfiguration&, const QString&) {}
void SaveConfigurationFileInteractive(const DeviceConfiguration&, const QString&) {}
