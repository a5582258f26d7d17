#pragma once

// The configuration and the eight forms as one transfer: what the comparison
// with the device reads, and what writing its differences (or an image's)
// sends. It stands above both: the configuration's transfer knows nothing of
// the forms.

#include <QVector>

struct ConfigurationItem;
struct DeviceConfiguration;
struct UnreadItems;

// The download into `device` without its closing message, then the eight
// forms, each asked for with the bytes `device` holds for it (start from a
// copy of the configuration it is to be compared with). An item whose read
// failed and was passed over keeps that copy's value and is named in
// `unread.failed`; a cliché the device said it does not have, in
// `unread.absentCliches`. True when every phase ran to its end.
bool ReadConfigurationForComparison(DeviceConfiguration& device, UnreadItems& unread);

// The upload of `items` only, through the same commands, loops and questions;
// forms among them are programmed after the clichés. One closing message.
bool UploadConfigurationAndForms(const DeviceConfiguration& config,
                                 const QVector<ConfigurationItem>& items);
