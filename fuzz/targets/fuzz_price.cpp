// The price conversions and the record editor's checks against any text and
// any count of kopecks. Beyond the sanitizers it checks that a price the
// program accepts keeps its value through every form it takes: the table's
// text, the editor's normalised text, the device's and the file's numbers.

#include <cstring>

#include "goods/GoodsRecord.h"
#include "goods/GoodsRecordCheck.h"
#include "goods/Price.h"
#include "support/FuzzCheck.h"
#include "support/FuzzInput.h"

namespace {

void Text(const QByteArray& text) {
    const PriceParts parts = SplitPrice(text);
    FUZZ_CHECK(parts.kopecks.size() == 2);
    const std::optional<int64_t> value = parsePrice(text);
    if (!value) return;
    FUZZ_CHECK(*value >= 0);
    FUZZ_CHECK(parsePrice(formatPrice(*value)) == value);
    FUZZ_CHECK(parsePrice(parts.normalised()) == value || text.isEmpty());
}

void Kopecks(int64_t kopecks) {
    const QByteArray text = formatPrice(kopecks);
    FUZZ_CHECK(text.size() >= 4 && text[text.size() - 3] == '.');
    if (kopecks >= 0)
        FUZZ_CHECK(parsePrice(text) == kopecks);
    else
        FUZZ_CHECK(text.startsWith('-') && !parsePrice(text));
}

void Editor(const QString& barcode, const QString& section, const QString& price) {
    const GoodsEntryCheck check =
        CheckGoodsEntries(QStringLiteral("ХЛЕБ"), false, barcode, section, price);
    FUZZ_CHECK(check.ok == check.message.isEmpty());
    if (!check.price.isEmpty()) {
        // The normalised price keeps the value and fits the editor's field.
        const std::optional<int64_t> value = parsePrice(check.price);
        FUZZ_CHECK(value && *value <= MaxGoodsPrice);
        FUZZ_CHECK(value == parsePrice(price.toLatin1()));
        FUZZ_CHECK(check.price.size() <= GoodsPriceFieldLength);
    }
    if (!check.ok) return;
    FUZZ_CHECK(!check.price.isEmpty());
    int64_t value = 0;
    FUZZ_CHECK(CellNumber(barcode.toLatin1(), MaxGoodsBarcode, value));
    FUZZ_CHECK(CellNumber(section.toLatin1(), 255, value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    int64_t kopecks = 0;
    const QByteArray number = input.take(8);
    std::memcpy(&kopecks, number.constData(), std::size_t(number.size()));
    Kopecks(kopecks);
    const QByteArray barcode = input.take(input.byte() % 24);
    const QByteArray section = input.take(input.byte() % 8);
    const QByteArray price = input.rest();
    Text(price);
    Editor(QString::fromLatin1(barcode), QString::fromLatin1(section), QString::fromLatin1(price));
    return 0;
}
