#pragma once

// Which items of a configuration the upload passes over, and why: the
// device's own ban on changing an operator, service or requisite (its access
// flag), and an operator whose password the device would refuse. The upload
// and the comparison with the device ask the same question here, so that a
// difference the upload cannot write is shown as such before it is tried.

#include <QString>
#include <QVector>

struct ConfigurationDifference;
struct ConfigurationItem;
struct DeviceConfiguration;
struct OperatorRecord;

// An operator is written only with a password the device would accept: not
// empty, a decimal number, and not zero.
bool PasswordAllowsUpload(const OperatorRecord& op);

// Empty when the upload writes `item` of `config`; otherwise why it does not.
QString UploadSkipReason(const DeviceConfiguration& config, const ConfigurationItem& item);

// The items of `differences` that the upload writes.
QVector<ConfigurationItem> WrittenItems(const QVector<ConfigurationDifference>& differences);

// One line naming the differences the upload would pass over, with their
// reasons; empty when it writes them all.
QString SkippedDifferencesText(const QVector<ConfigurationDifference>& differences);
