#pragma once

// The eight forms as a table: the constructor's reading of all of them, and
// the phases that read or program them within a larger transfer.

#include <QVector>
#include <optional>

struct ConfigurationItem;
struct DeviceConfiguration;
struct TransferOutcome;
struct UnreadItems;

// Asks for the current group and reads the eight forms into the form table;
// the group when the state query succeeded.
std::optional<int> ReadFormTable(DeviceConfiguration& config);

// The eight forms read with the question after a failure, each named, into
// the wait window a transfer has up: a form whose read failed keeps what
// `config` held and goes into `unread`. False when the transfer stopped.
bool ReadFormsPhase(DeviceConfiguration& config, TransferOutcome& outcome, UnreadItems& unread);
// The forms among `items` programmed the same way.
bool ProgramFormsPhase(const DeviceConfiguration& config, const QVector<ConfigurationItem>& items,
                       TransferOutcome& outcome);
