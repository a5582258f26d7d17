#include "goods/Price.h"

#include <limits>

#include "goods/GoodsRecord.h"

QByteArray formatPrice(int64_t kopecks) {
    // Unsigned magnitude, so that even the most negative count has one.
    const bool negative = kopecks < 0;
    const uint64_t magnitude = negative ? uint64_t(0) - uint64_t(kopecks) : uint64_t(kopecks);
    QByteArray text = QByteArray::number(qulonglong(magnitude / 100)) + '.';
    const auto cents = int(magnitude % 100);
    text += char('0' + cents / 10);
    text += char('0' + cents % 10);
    return negative ? '-' + text : text;
}

PriceParts SplitPrice(const QByteArray& text) {
    PriceParts parts;
    const int point = text.indexOf('.');
    if (point < 0) {
        parts.roubles = text;
        parts.kopecks = "00";
        return parts;
    }
    parts.roubles = text.left(point);
    parts.kopecks = text.mid(point + 1, 2);
    while (parts.kopecks.size() < 2) parts.kopecks += '0';
    return parts;
}

std::optional<int64_t> parsePrice(const QByteArray& text) {
    if (text.isEmpty()) return int64_t(0);
    const PriceParts parts = SplitPrice(text);
    int64_t value = 0;
    if (!CellNumber(parts.roubles + parts.kopecks, std::numeric_limits<int64_t>::max(), value))
        return std::nullopt;
    return value;
}
