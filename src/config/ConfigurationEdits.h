#pragma once

// The configuration's edits as data: what an edit on a page replaced, so that
// it can be taken back and done again. A whole copy before and after is small
// (a few kilobytes) and leaves nothing of an edit out; putting it back goes
// field by field, so that a field something else replaced since (a read from
// the device, a file) keeps what that put there. The widgets wire these to the
// program's undo stack.

#include <QString>

#include "config/DeviceConfiguration.h"

struct ConfigurationChange {
    DeviceConfiguration before{};
    DeviceConfiguration after{};

    bool isEmpty() const;
    // The items a user knows that the change touched ("оператор 2, Ф.И.О.;
    // услуга 1, строка 3"); empty when it touched only flags.
    QString itemsText() const;
};

// Takes the configuration as it is now; `finish` gives what changed since.
class ConfigurationChangeRecorder {
public:
    explicit ConfigurationChangeRecorder(const DeviceConfiguration& config);
    ConfigurationChange finish(const DeviceConfiguration& config) const;

private:
    DeviceConfiguration start_;
};

// Puts back the fields the change touched as they were (undo) or as they
// became (redo), each only while it still holds what the change left there.
// True when anything changed.
bool RestoreBefore(DeviceConfiguration& config, const ConfigurationChange& change);
bool RestoreAfter(DeviceConfiguration& config, const ConfigurationChange& change);

// Two changes in a row as one, from the first's start to the second's end
// (typing in a field, key by key): only when the second starts where the
// first ended, so that nothing done between them (a read) becomes part of an
// edit. False, and `first` as it was, otherwise.
bool MergeChanges(ConfigurationChange& first, const ConfigurationChange& second);
