#pragma once

// The connection settings last applied, kept between runs of the window
// program in Qt's settings store, so that its dialog offers them again. Only
// offered: nothing is applied, and nothing connects, by itself.

#include <QString>
#include <memory>
#include <optional>

#include "device/ConnectionSettings.h"

class QSettings;

// Where the settings are kept; none (the default, also for the command line
// and the tests that do not ask for one) keeps and offers nothing.
void SetConnectionSettingsStore(std::unique_ptr<QSettings> store);

// The fields last kept; nothing when no store is set or it holds none.
std::optional<ConnectionFields> StoredConnectionFields();
void StoreConnectionFields(const ConnectionFields& fields);

// The fields the settings dialog opens on: the values in force once a port
// has been applied in this run, else those kept from an earlier run, else
// the defaults.
ConnectionFields InitialConnectionFields();
