#include <windows.h>

#include <QHash>
#include <array>

#include "device/DeviceCharset.h"

namespace {

// Windows-1251 is a single-byte code page: the system's own conversion of the
// 256 bytes, asked once, is the whole table both ways. Converting through the
// table keeps every text the same length in both directions and makes one
// '?' of a character the code page lacks, also of one outside the Basic
// Multilingual Plane (WideCharToMultiByte would make two of a surrogate pair).
struct Cp1251Table {
    std::array<char16_t, 256> toUnicode{};
    QHash<char16_t, char> fromUnicode;

    Cp1251Table() {
        for (int byte = 0; byte < 256; ++byte) {
            const char in = char(byte);
            wchar_t out = 0;
            if (MultiByteToWideChar(1251, 0, &in, 1, &out, 1) != 1) out = 0xFFFD;
            toUnicode[std::size_t(byte)] = char16_t(out);
            // The first byte wins where two map alike (none do in this code page).
            if (out != 0xFFFD && !fromUnicode.contains(char16_t(out)))
                fromUnicode.insert(char16_t(out), in);
        }
    }
};

const Cp1251Table& Table() {
    static const Cp1251Table table;
    return table;
}

}  // namespace

QString FromCp1251(const QByteArray& bytes) {
    const Cp1251Table& table = Table();
    QString text(bytes.size(), Qt::Uninitialized);
    for (int i = 0; i < bytes.size(); ++i)
        text[i] = QChar(table.toUnicode[static_cast<unsigned char>(bytes[i])]);
    return text;
}

QByteArray ToCp1251(const QString& text) {
    const Cp1251Table& table = Table();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode()))
            ++i;  // one character, one '?'
        const auto found = table.fromUnicode.constFind(unit);
        bytes += found != table.fromUnicode.constEnd() ? found.value() : '?';
    }
    return bytes;
}
