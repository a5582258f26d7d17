#pragma once

// Moving the whole configuration between the device and the PC in one go,
// item by item, with the per-item question, the wait window and the progress.

#include <QVector>

struct ConfigurationItem;
struct DeviceConfiguration;
struct TransferOutcome;
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

// Writes the lines and the document name among `items` through the same
// commands, loops and questions as the whole upload. The forms are no part of
// the configuration's transfer: a write that takes them too goes through
// UploadConfigurationAndForms (image/WholeConfigurationTransfer.h).
bool UploadConfigurationItems(const DeviceConfiguration& config,
                              const QVector<ConfigurationItem>& items);

// The phases of the download and of an upload of `items`, with no closing
// message, for a transfer that adds phases of its own after them: they count
// into `outcome`, and when every phase ran to its end the wait window is left
// up for the caller to take down. An item whose read failed keeps what
// `config` held and goes into `unread` when given. False when a phase stopped
// (the wait window is down then).
bool DownloadConfigurationPhases(DeviceConfiguration& config, TransferOutcome& outcome,
                                 UnreadItems* unread);
bool UploadConfigurationPhases(const DeviceConfiguration& config,
                               const QVector<ConfigurationItem>& items, TransferOutcome& outcome);
