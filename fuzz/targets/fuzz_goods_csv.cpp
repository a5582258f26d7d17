// The goods CSV import against any file, and the export of what it brought.
// Beyond the sanitizers it checks that an import either fails with a message
// or brings only rows the record editor would accept, and that what it
// brought exports and imports again unchanged.

#include "goods/GoodsCsv.h"
#include "goods/GoodsTable.h"
#include "goods/Price.h"
#include "support/FuzzCheck.h"

namespace {

void CheckRecord(const GoodsRecord& record) {
    int64_t code = 0;
    FUZZ_CHECK(CellNumber(record.code, GoodsRecordCount - 1, code));
    FUZZ_CHECK(record.name.size() <= GoodsNameLength);
    FUZZ_CHECK(record.font.isEmpty() || record.font == WideFontText() ||
               record.font == NarrowFontText());
    int64_t value = 0;
    FUZZ_CHECK(record.barcode.isEmpty() || CellNumber(record.barcode, MaxGoodsBarcode, value));
    FUZZ_CHECK(record.section.isEmpty() || CellNumber(record.section, 255, value));
    const std::optional<int64_t> price = parsePrice(record.price);
    FUZZ_CHECK(price && *price <= MaxGoodsPrice);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    const GoodsCsvImport import = DecodeGoodsCsv(bytes);
    if (!import.ok()) {
        QString details;
        FUZZ_CHECK(!import.failureMessage(&details).isEmpty());
        return 0;
    }
    FUZZ_CHECK(!import.records.isEmpty() && import.records.size() <= GoodsRecordCount);
    for (const GoodsRecord& record : import.records) CheckRecord(record);

    static GoodsTable table;
    table.clear();
    ApplyGoodsCsv(table, import);
    int exported = 0;
    const GoodsCsvImport again = DecodeGoodsCsv(EncodeGoodsCsv(table, &exported));
    FUZZ_CHECK(again.ok());
    FUZZ_CHECK(again.records.size() == exported);
    for (const GoodsRecord& record : again.records)
        FUZZ_CHECK(table.record(record.code.toInt() + 1) == record);
    return 0;
}
