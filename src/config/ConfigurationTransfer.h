#pragma once

// Moving the whole configuration between the device and the PC in one go,
// item by item, with the per-item question, the wait window and the progress.

#include <QVector>
#include <optional>

struct ConfigurationItem;
struct DeviceConfiguration;
struct UnreadItems;

// The wizard's pages that a download refills after each of its phases.
class ConfigurationPages {
public:
    virtual ~ConfigurationPages() = default;
    virtual void refreshOperators() = 0;
    virtual void refreshDocumentName() = 0;
    virtual void refreshServices() = 0;
    virtual void refreshRequisites() = 0;
    virtual void refreshCliche(int clicheIndex) = 0;  // 0 or 1
};

// Reads operators, document name, services, requisites and both clichés; an
// item whose read fails keeps what `config` held. `pages` is given by the
// wizard only. True when every phase ran to its end.
bool DownloadConfiguration(DeviceConfiguration& config, ConfigurationPages* pages = nullptr);

// Writes the same items back. True when every phase ran to its end.
bool UploadConfiguration(DeviceConfiguration& config);

// The download into `device` without its closing message, then the eight
// forms, each asked for with the bytes `device` holds for it (start from a
// copy of the configuration it is to be compared with). An item whose read
// failed and was passed over keeps that copy's value and is named in
// `unread.failed`; a cliché the device said it does not have, in
// `unread.absentCliches`. True when every phase ran to its end.
bool ReadConfigurationForComparison(DeviceConfiguration& device, UnreadItems& unread);

// The upload of `items` only, through the same commands, loops and questions;
// forms among them are programmed after the clichés.
bool UploadConfigurationItems(const DeviceConfiguration& config,
                              const QVector<ConfigurationItem>& items);

// Asks for the current group and reads the eight forms into the form table;
// the group when the state query succeeded.
std::optional<int> ReadFormTable(DeviceConfiguration& config);
