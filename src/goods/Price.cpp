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

std::optional<QString> PriceFromPaste(const QString& pasted) {
    auto isDigit = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
    qsizetype first = 0;
    while (first < pasted.size() && !isDigit(pasted[first])) ++first;
    if (first == pasted.size()) return std::nullopt;
    qsizetype last = pasted.size() - 1;
    while (!isDigit(pasted[last])) --last;
    // A point or comma right before the number belongs to it (",50").
    if (first > 0 &&
        (pasted[first - 1] == QLatin1Char('.') || pasted[first - 1] == QLatin1Char(',')))
        --first;
    QString price;
    bool separator = false;
    for (qsizetype i = first; i <= last; ++i) {
        const QChar c = pasted[i];
        if (isDigit(c)) {
            price += c;
        } else if (c == QLatin1Char('.') || c == QLatin1Char(',')) {
            if (separator) return std::nullopt;
            separator = true;
            price += QLatin1Char('.');
        } else if (c.isSpace() || c == QChar(0x00A0) || c == QChar(0x202F) || c == QChar(0x2009)) {
            // A digit group: only between digits, and never after the point.
            if (separator || i == first) return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    return price;
}
