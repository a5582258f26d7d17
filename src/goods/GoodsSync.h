#pragma once

// What the goods page knows of the device's copy of each record, so that
// "Загрузить изменённые" sends only the records that may differ from it.
//
// After a successful exchange for a record (read, write or erase) the page
// knows what the device holds; from then on the record is changed exactly
// when what the table's record would send differs from that. A record whose
// device copy is not known (nothing exchanged yet, the connection settings
// changed, or its last exchange failed) counts as changed when it holds goods
// or when its last exchange failed, so that a failure is never taken for
// success and blank rows never overwrite a device whose content is unknown.

#include <QVector>

#include "goods/GoodsRecord.h"
#include "goods/GoodsTransfer.h"

class GoodsSync {
public:
    GoodsSync();

    // Each returns true when the record's changed mark flipped.
    // The table's record `number` now reads `record`, whatever changed it.
    bool follow(int number, const GoodsRecord& record);
    // An exchange for the record succeeded: the device holds what it sends.
    bool inStep(int number, const GoodsRecord& record);
    // The device's record was erased.
    bool erased(int number, const GoodsRecord& record);
    // An exchange for the record failed: the device's copy is not known.
    bool failed(int number, const GoodsRecord& record);
    // Another device may be on the line: nothing is known of any record.
    void forget(const QVector<GoodsRecord>& records);

    bool isChanged(int number) const;
    int changedCount() const { return changedCount_; }
    // Record numbers in ascending order.
    QVector<int> changedNumbers() const;

private:
    struct Entry {
        bool known = false;
        bool failed = false;
        bool changed = false;
        GoodsDeviceRecord device;
    };
    bool update(int number, const GoodsRecord& record);

    QVector<Entry> entries_;
    int changedCount_ = 0;
};
