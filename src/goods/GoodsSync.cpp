#include "goods/GoodsSync.h"

#include <cstring>

namespace {

// Whether two device records leave the device holding the same: the command
// sends barcode, section and price as zeros when the barcode text is empty.
bool SameOnDevice(const GoodsDeviceRecord& a, const GoodsDeviceRecord& b) {
    if (std::strncmp(a.name, b.name, sizeof a.name) != 0) return false;
    if (std::strncmp(a.barcode, b.barcode, sizeof a.barcode) != 0) return false;
    if (a.barcode[0] == '\0') return true;
    return a.section == b.section && a.price == b.price;
}

bool IsRecord(int number) {
    return number >= 0 && number < GoodsRecordCount;
}

}  // namespace

GoodsSync::GoodsSync() : entries_(GoodsRecordCount) {}

bool GoodsSync::update(int number, const GoodsRecord& record) {
    Entry& entry = entries_[number];
    const bool changed =
        entry.failed ||
        (entry.known ? !SameOnDevice(DeviceRecordOf(record), entry.device) : record.hasGoods());
    if (changed == entry.changed) return false;
    entry.changed = changed;
    changedCount_ += changed ? 1 : -1;
    return true;
}

bool GoodsSync::follow(int number, const GoodsRecord& record) {
    if (!IsRecord(number)) return false;
    return update(number, record);
}

bool GoodsSync::inStep(int number, const GoodsRecord& record) {
    if (!IsRecord(number)) return false;
    Entry& entry = entries_[number];
    entry.known = true;
    entry.failed = false;
    entry.device = DeviceRecordOf(record);
    return update(number, record);
}

bool GoodsSync::erased(int number, const GoodsRecord& record) {
    if (!IsRecord(number)) return false;
    Entry& entry = entries_[number];
    entry.known = true;
    entry.failed = false;
    // What the erase sends: a blank row's device record.
    entry.device = DeviceRecordOf(GoodsRecord());
    return update(number, record);
}

bool GoodsSync::failed(int number, const GoodsRecord& record) {
    if (!IsRecord(number)) return false;
    Entry& entry = entries_[number];
    entry.known = false;
    entry.failed = true;
    return update(number, record);
}

void GoodsSync::forget(const QVector<GoodsRecord>& records) {
    for (int number = 0; number < GoodsRecordCount; ++number) {
        Entry& entry = entries_[number];
        entry.known = false;
        entry.failed = false;
        update(number, records.value(number));
    }
}

bool GoodsSync::isChanged(int number) const {
    return IsRecord(number) && entries_[number].changed;
}

QVector<int> GoodsSync::changedNumbers() const {
    QVector<int> numbers;
    numbers.reserve(changedCount_);
    for (int number = 0; number < GoodsRecordCount; ++number)
        if (entries_[number].changed) numbers.append(number);
    return numbers;
}
