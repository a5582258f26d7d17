#include "goods/GoodsSync.h"

#include <limits>

#include "device/DeviceCharset.h"

namespace {

// What a device record leaves stored: the command turns the barcode text
// into a number (0 when it is none) and sends barcode, section and price as
// zeros when the text is empty; it keeps 48 bits of barcode, 40 of price.
struct Stored {
    QByteArray name;
    int64_t barcode = 0;
    int section = 0;
    int64_t price = 0;
    bool operator==(const Stored& other) const {
        return name == other.name && barcode == other.barcode && section == other.section &&
               price == other.price;
    }
};

Stored StoredOf(const GoodsDeviceRecord& record) {
    Stored stored;
    stored.name = FieldText(record.name, int(sizeof record.name));
    const QByteArray barcode = FieldText(record.barcode, int(sizeof record.barcode));
    if (barcode.isEmpty()) return stored;
    if (!CellNumber(barcode, std::numeric_limits<int64_t>::max(), stored.barcode))
        stored.barcode = 0;
    stored.barcode &= MaxGoodsBarcode;
    stored.section = record.section;
    stored.price = record.price & ((int64_t(1) << 40) - 1);
    return stored;
}

bool SameOnDevice(const GoodsDeviceRecord& a, const GoodsDeviceRecord& b) {
    return StoredOf(a) == StoredOf(b);
}

bool IsRecord(int number) {
    return number >= 0 && number < GoodsRecordCount;
}

}  // namespace

GoodsSync::GoodsSync() : entries_(GoodsRecordCount) {}

bool GoodsSync::update(int number, const GoodsRecord& record) {
    Entry& entry = entries_[number];
    const bool wasHeldBack = HeldBack(entry);
    bool changed = false;
    switch (entry.state) {
        case Device::Unknown:
            entry.heldGoods = entry.heldGoods || record.hasGoods();
            changed = record.hasGoods();
            break;
        case Device::Known:
        case Device::Unread:
            changed = !SameOnDevice(DeviceRecordOf(record), entry.device);
            break;
        case Device::MustSend:
            changed = true;
            break;
    }
    const bool flipped = changed != entry.changed;
    if (flipped) {
        entry.changed = changed;
        changedCount_ += changed ? 1 : -1;
    }
    unreadCount_ += int(HeldBack(entry)) - int(wasHeldBack);
    return flipped || HeldBack(entry) != wasHeldBack;
}

bool GoodsSync::set(int number, Device state, const GoodsRecord& record) {
    if (!IsRecord(number)) return false;
    Entry& entry = entries_[number];
    const bool wasHeldBack = HeldBack(entry);
    entry.state = state;
    entry.heldGoods = false;
    // update() counts from the entry as it stands now.
    unreadCount_ += int(HeldBack(entry)) - int(wasHeldBack);
    const bool flipped = update(number, record);
    return flipped || HeldBack(entry) != wasHeldBack;
}

bool GoodsSync::follow(int number, const GoodsRecord& record) {
    if (!IsRecord(number)) return false;
    return update(number, record);
}

bool GoodsSync::inStep(int number, const GoodsRecord& record) {
    if (IsRecord(number)) entries_[number].device = DeviceRecordOf(record);
    return set(number, Device::Known, record);
}

bool GoodsSync::erased(int number, const GoodsRecord& record) {
    // What the erase sends: a blank row's device record.
    if (IsRecord(number)) entries_[number].device = DeviceRecordOf(GoodsRecord());
    return set(number, Device::Known, record);
}

bool GoodsSync::writeFailed(int number, const GoodsRecord& record) {
    return set(number, Device::MustSend, record);
}

bool GoodsSync::readFailed(int number, const GoodsRecord& record) {
    if (IsRecord(number)) entries_[number].device = DeviceRecordOf(record);
    return set(number, Device::Unread, record);
}

void GoodsSync::forget(const QVector<GoodsRecord>& records) {
    for (int number = 0; number < GoodsRecordCount; ++number)
        set(number, Device::Unknown, records.value(number));
}

bool GoodsSync::isChanged(int number) const {
    return IsRecord(number) && entries_[number].changed;
}

bool GoodsSync::isUnread(int number) const {
    return IsRecord(number) && HeldBack(entries_[number]);
}

QVector<int> GoodsSync::changedNumbers() const {
    QVector<int> numbers;
    numbers.reserve(changedCount_);
    for (int number = 0; number < GoodsRecordCount; ++number)
        if (entries_[number].changed) numbers.append(number);
    return numbers;
}

int GoodsSync::unsentBlankCount(const QVector<GoodsRecord>& records) const {
    int count = 0;
    for (int number = 0; number < GoodsRecordCount; ++number) {
        const Entry& entry = entries_[number];
        if (entry.state == Device::Unknown && entry.heldGoods && !records.value(number).hasGoods())
            ++count;
    }
    return count;
}
