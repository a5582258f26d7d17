#pragma once

// What the goods page knows of the device's copy of each record, so that
// "Загрузить изменённые" sends only the records that may differ from it and
// never one whose device copy the user has not seen.
//
// After a successful exchange for a record (read, write or erase) the page
// knows what the device holds; from then on the record is changed exactly
// when what the table's record would send differs from that. A record whose
// write or erase failed is changed until an exchange succeeds: a failure is
// never taken for success. A record whose read failed is unread: the row
// shows what the failed read left, not the device's copy, so it is sent only
// while it holds something else (the user edited it, a file filled it), and
// a read that succeeds ends that. A record of which nothing is known (nothing
// exchanged yet, another device on the line) is changed when it holds goods:
// blank rows never overwrite a device whose content is unknown.

#include <QVector>

#include "goods/GoodsDeviceRecord.h"
#include "goods/GoodsRecord.h"

class GoodsSync {
public:
    GoodsSync();

    // Each returns true when the record's changed or unread mark flipped.
    // The table's record `number` now reads `record`, whatever changed it.
    bool follow(int number, const GoodsRecord& record);
    // An exchange for the record succeeded: the device holds what it sends.
    bool inStep(int number, const GoodsRecord& record);
    // The device's record was erased.
    bool erased(int number, const GoodsRecord& record);
    // A write or an erase of the record failed: it is sent again.
    bool writeFailed(int number, const GoodsRecord& record);
    // A read of the record failed and left the table's record as `record`.
    bool readFailed(int number, const GoodsRecord& record);
    // Another device may be on the line: nothing is known of any record.
    void forget(const QVector<GoodsRecord>& records);

    bool isChanged(int number) const;
    // Unread and as the failed read left it.
    bool isUnread(int number) const;
    int changedCount() const { return changedCount_; }
    int unreadCount() const { return unreadCount_; }
    // Record numbers in ascending order.
    QVector<int> changedNumbers() const;
    // Records blank now that held goods while nothing was known of the
    // device's copy: "Загрузить изменённые" does not send them.
    int unsentBlankCount(const QVector<GoodsRecord>& records) const;

private:
    enum class Device {
        Unknown,   // nothing known
        Known,     // `device` is what the device holds
        MustSend,  // a write or an erase failed
        Unread,    // a read failed; `device` is what it left in the table
    };
    struct Entry {
        Device state = Device::Unknown;
        bool changed = false;
        bool heldGoods = false;  // Unknown: the record held goods since it became so
        GoodsDeviceRecord device;
    };
    // Unread and not changed since: a row "Загрузить изменённые" holds back.
    static bool HeldBack(const Entry& entry) {
        return entry.state == Device::Unread && !entry.changed;
    }
    bool update(int number, const GoodsRecord& record);
    bool set(int number, Device state, const GoodsRecord& record);

    QVector<Entry> entries_;
    int changedCount_ = 0;
    int unreadCount_ = 0;
};
