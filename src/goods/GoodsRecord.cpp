#include "goods/GoodsRecord.h"

#include "device/DeviceCharset.h"

const QByteArray& WideFontText() {
    static const QByteArray text = ToCp1251(QStringLiteral("широкий"));
    return text;
}

const QByteArray& NarrowFontText() {
    static const QByteArray text = ToCp1251(QStringLiteral("узкий"));
    return text;
}

bool GoodsRecord::isBlank() const {
    return code.isEmpty() && name.isEmpty() && font.isEmpty() && barcode.isEmpty() &&
           section.isEmpty() && price.isEmpty();
}

namespace {

// Empty text or zeros only, whatever the separators ("0", "0.00", "000").
bool IsZeroText(const QByteArray& text) {
    for (const char c : text)
        if (c != '0' && c != '.') return false;
    return true;
}

}  // namespace

bool GoodsRecord::hasGoods() const {
    return !name.isEmpty() || !IsZeroText(barcode) || !IsZeroText(section) || !IsZeroText(price);
}

QByteArray GoodsRecord::cell(int column) const {
    switch (column) {
        case ColCode:
            return code;
        case ColName:
            return name;
        case ColFont:
            return font;
        case ColBarcode:
            return barcode;
        case ColSection:
            return section;
        case ColPrice:
            return price;
        default:
            return {};
    }
}

void GoodsRecord::setCell(int column, const QByteArray& text) {
    switch (column) {
        case ColCode:
            code = text;
            break;
        case ColName:
            name = text;
            break;
        case ColFont:
            font = text;
            break;
        case ColBarcode:
            barcode = text;
            break;
        case ColSection:
            section = text;
            break;
        case ColPrice:
            price = text;
            break;
        default:
            break;
    }
}

bool GoodsRecord::operator==(const GoodsRecord& other) const {
    return code == other.code && name == other.name && font == other.font &&
           barcode == other.barcode && section == other.section && price == other.price;
}

bool CellNumber(const QByteArray& text, int64_t max, int64_t& value) {
    if (text.isEmpty()) return false;
    int64_t result = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        const int digit = c - '0';
        if (result > (max - digit) / 10) return false;
        result = result * 10 + digit;
    }
    value = result;
    return true;
}
