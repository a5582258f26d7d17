#include "goods/GoodsDeviceRecord.h"

#include <limits>

#include "device/DeviceCharset.h"
#include "goods/Price.h"

GoodsDeviceRecord DeviceRecordOf(const GoodsRecord& row) {
    GoodsDeviceRecord record;
    char field[GoodsNameFieldSize + 1] = {};
    field[0] = row.isWide() ? WideFlag : NarrowFlag;
    CopyToField(field + 1, GoodsNameLength + 1, row.name);
    EncodeDeviceText(field, record.name);
    CopyToField(record.barcode, BarcodeTextSize, row.barcode);
    int64_t section = 0;
    CellNumber(row.section, std::numeric_limits<int64_t>::max(), section);
    record.section = uint8_t(section & 0xFF);
    record.price = parsePrice(row.price).value_or(0);
    return record;
}

GoodsRecord RecordOfDevice(int number, const GoodsDeviceRecord& record) {
    GoodsRecord row;
    row.code = QByteArray::number(number);
    const QByteArray field = FieldText(record.name, GoodsNameFieldSize);
    char decoded[GoodsNameFieldSize + 1] = {};
    DecodeDeviceText(field.constData(), decoded);
    const QByteArray text = FieldText(decoded, GoodsNameFieldSize);
    row.name = text.mid(1);
    row.font = text.startsWith(WideFlag) ? WideFontText() : NarrowFontText();
    row.barcode = FieldText(record.barcode, BarcodeTextSize);
    row.section = QByteArray::number(record.section);
    row.price = formatPrice(record.price);
    return row;
}
