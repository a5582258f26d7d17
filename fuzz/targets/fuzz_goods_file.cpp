// The goods file loader against any file, and what the program then does with
// the loaded rows: the save and the records sent to the device. Beyond the
// sanitizers it checks that a regular file always loads as far as its records
// are sound, that the rows loaded save and load again unchanged, and that every
// loaded row goes to the device with the numbers it shows.

#include <cstring>

#include "goods/GoodsFile.h"
#include "goods/GoodsTable.h"
#include "goods/GoodsTransfer.h"
#include "goods/Price.h"
#include "support/FuzzCheck.h"
#include "support/ScratchFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    static GoodsTable table;
    table.clear();
    const QString path = WriteScratchFile(QStringLiteral("input.base"), bytes);
    const GoodsFileResult loaded = LoadGoodsFileInteractive(table, path);
    const int count = loaded.recordsLoaded;
    FUZZ_CHECK(count >= 0 && count <= GoodsRecordCount);
    FUZZ_CHECK(count <= int(size) / GoodsFileRecordSize);
    FUZZ_CHECK((loaded.status == GoodsFileStatus::Ok) == (count == GoodsRecordCount));
    FUZZ_CHECK(loaded.status == GoodsFileStatus::Ok || loaded.status == GoodsFileStatus::Incorrect);
    for (int row = count + 1; row <= GoodsRecordCount; ++row)
        FUZZ_CHECK(table.record(row).isBlank());

    QByteArray image;
    FUZZ_CHECK(EncodeGoodsFile(table, image).status == GoodsFileStatus::Ok);
    FUZZ_CHECK(image.size() == GoodsFileSize);
    static GoodsTable again;
    again.clear();
    FUZZ_CHECK(DecodeGoodsFile(again, image).status == GoodsFileStatus::Ok);
    for (int row = 1; row <= count; ++row) {
        const GoodsRecord& record = table.record(row);
        FUZZ_CHECK(again.record(row) == record);
        const GoodsDeviceRecord device = DeviceRecordOf(record);
        FUZZ_CHECK(device.price == parsePrice(record.price));
        FUZZ_CHECK(QByteArray(device.barcode) == record.barcode);
        FUZZ_CHECK(QByteArray::number(device.section) == record.section);
        FUZZ_CHECK(strnlen(device.name, sizeof device.name) < sizeof device.name);
    }
    return 0;
}
