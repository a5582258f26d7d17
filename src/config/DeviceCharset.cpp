#include "config/DeviceCharset.h"

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

QString DeviceLineInput(const QString& typed) {
    // The round trip through Windows-1251 replaces what it cannot hold (an
    // emoji, a Latin letter with a mark) by '?', one character for each.
    QString text = FromCp1251(ToCp1251(DeviceUpper(typed)));
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = QLatin1Char(' ');
    }
    return text;
}

QString DeviceLineEdited(const QString& before, const QString& after, int& cursor) {
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
    const QString put = DeviceLineInput(after.mid(head, after.size() - tail - head));
    cursor = std::max(0, cursor + int(put.size()) - int(after.size() - tail - head));
    return after.left(head) + put + after.right(tail);
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
