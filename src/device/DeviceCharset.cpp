#include "device/DeviceCharset.h"

#include <QStringList>
#include <algorithm>
#include <cstring>

namespace {

// The device's letters for А..Я, indexed by (Windows-1251 code − 0xC0).
constexpr char DeviceLetters[] = "abwgdevzijklmnoprstufhc~{}^yx|`q";
static_assert(sizeof(DeviceLetters) == 33);

// Device byte → Windows-1251 capital, or 0 when the byte is not a device letter.
struct DecodeTable {
    unsigned char map[128] = {};
    DecodeTable() {
        for (int i = 0; i < 32; ++i)
            map[static_cast<unsigned char>(DeviceLetters[i])] =
                static_cast<unsigned char>(0xC0 + i);
    }
};

}  // namespace

void EncodeDeviceText(const char* source, char* destination) {
    if (!destination) return;
    std::memset(destination, 0, std::strlen(destination));
    if (!source) return;
    for (int i = 0; source[i] != 0; ++i) {
        const auto c = static_cast<unsigned char>(source[i]);
        if (c < 0x80)
            destination[i] = char(c);
        else if (c >= 0xC0 && c <= 0xDF)
            destination[i] = DeviceLetters[c - 0xC0];
        else
            destination[i] = ' ';
    }
}

void DecodeDeviceText(const char* source, char* destination) {
    static const DecodeTable table;
    if (!source || !destination) return;
    for (int i = 0; source[i] != 0; ++i) {
        const auto c = static_cast<unsigned char>(source[i]);
        if (c == 0x80)
            destination[i] = 0;
        else if (c < 0x80 && table.map[c] != 0)
            destination[i] = char(table.map[c]);
        else
            destination[i] = char(c);
    }
}

QString FromCp1251(const char* zeroTerminated) {
    return zeroTerminated ? FromCp1251(QByteArray(zeroTerminated)) : QString();
}

QString DeviceUpper(const QString& text) {
    return text.toUpper();
}

bool DevicePrints(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'А' && u <= u'Я') return true;
    if (u < 0x20 || u > 0x7E || (u >= 'a' && u <= 'z')) return false;
    // The device's own letters sit in these places.
    return QStringView(u"^`{|}~").indexOf(c) < 0;
}

QString DeviceLineInput(const QString& typed, QString* refused) {
    QString kept;
    kept.reserve(typed.size());
    // One code point at a time, so that a character outside the basic plane
    // (an emoji) is refused whole, and upper-casing that grows (ß to SS) is
    // judged on what it gives.
    const QList<uint> points = typed.toUcs4();
    for (const uint point : points) {
        const QString one = QString::fromUcs4(reinterpret_cast<const char32_t*>(&point), 1);
        if (point < 0x20 || point == 0x7F) {
            kept += QLatin1Char(' ');
            continue;
        }
        QString upper = DeviceUpper(one);
        upper.replace(QChar(u'Ё'), QChar(u'Е'));
        if (std::all_of(upper.begin(), upper.end(), DevicePrints)) {
            kept += upper;
        } else if (refused && !refused->contains(one)) {
            *refused += one;
        }
    }
    return kept;
}

namespace {

QString QuotedCharacters(const QString& characters) {
    QStringList quoted;
    const QList<uint> points = characters.toUcs4();
    for (const uint point : points)
        quoted << QStringLiteral("«%1»").arg(
            QString::fromUcs4(reinterpret_cast<const char32_t*>(&point), 1));
    return quoted.join(QStringLiteral(", "));
}

bool Several(const QString& characters) {
    return characters.toUcs4().size() > 1;
}

}  // namespace

QString RefusedCharactersMessage(const QString& refused) {
    return Several(refused) ? QStringLiteral("АС не печатает символы %1; они не введены.")
                                  .arg(QuotedCharacters(refused))
                            : QStringLiteral("АС не печатает символ %1; он не введен.")
                                  .arg(QuotedCharacters(refused));
}

QString RefusedCharactersReason(const QString& refused) {
    return Several(refused)
               ? QStringLiteral("АС не печатает символы %1").arg(QuotedCharacters(refused))
               : QStringLiteral("АС не печатает символ %1").arg(QuotedCharacters(refused));
}

QString DeviceLineEdited(const QString& before, const QString& after, int& cursor,
                         QString* refused) {
    cursor = std::clamp(cursor, 0, int(after.size()));
    // What follows the cursor was there before (typing and pasting leave the
    // cursor behind the new text), and so is what both share in front of it.
    int tail = 0;
    const int tailLimit = std::min(int(after.size()) - cursor, int(before.size()));
    while (tail < tailLimit && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    int head = 0;
    const int headLimit = std::min(int(after.size()) - tail, int(before.size()) - tail);
    while (head < headLimit && before[head] == after[head]) ++head;
    const QString put = DeviceLineInput(after.mid(head, after.size() - tail - head), refused);
    cursor = std::max(0, cursor + int(put.size()) - int(after.size() - tail - head));
    return after.left(head) + put + after.right(tail);
}

QString LineCutToLength(const QString& text, int maxLength, int& cursor) {
    const int excess = int(text.size()) - std::max(0, maxLength);
    cursor = std::clamp(cursor, 0, int(text.size()));
    if (excess <= 0) return text;
    const int before = std::min(excess, cursor);
    QString kept = text;
    kept.remove(cursor - before, before);
    cursor -= before;
    // More than the edit put in: the rest goes from the end.
    kept.truncate(std::max(0, maxLength));
    cursor = std::min(cursor, int(kept.size()));
    return kept;
}

QString LineCutMessage(int maxLength, int cut) {
    return QStringLiteral("В строке не больше %1 символов; лишние символы (%2) не введены.")
        .arg(maxLength)
        .arg(cut);
}

void CopyToField(char* field, int size, const QByteArray& text) {
    if (!field || size <= 0) return;
    const int n = std::min<int>(int(text.size()), size - 1);
    std::memcpy(field, text.constData(), std::size_t(n));
    std::memset(field + n, 0, std::size_t(size - n));
}

QByteArray FieldText(const char* field, int size) {
    if (!field || size <= 0) return {};
    const char* end = static_cast<const char*>(std::memchr(field, 0, std::size_t(size)));
    return QByteArray(field, end ? int(end - field) : size);
}
