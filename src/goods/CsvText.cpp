#include "goods/CsvText.h"

#include <csv.h>

#include <QByteArrayView>
#include <QStringDecoder>
#include <algorithm>

#include "device/DeviceCharset.h"

namespace {

bool StartsWith(const QByteArray& bytes, const char* mark, int size) {
    return bytes.size() >= size && std::equal(mark, mark + size, bytes.constData());
}

}  // namespace

QByteArray Utf8ByteOrderMark() {
    return QByteArrayLiteral("\xEF\xBB\xBF");
}

QByteArray CsvBytesWithoutMark(const QByteArray& file) {
    if (StartsWith(file, "\xEF\xBB\xBF", 3)) return file.mid(3);
    if (StartsWith(file, "\xFF\xFE", 2) || StartsWith(file, "\xFE\xFF", 2)) {
        // "Unicode text" of a spreadsheet.
        QStringDecoder decoder(file.startsWith('\xFF') ? QStringDecoder::Utf16LE
                                                       : QStringDecoder::Utf16BE);
        const QString decoded = decoder(QByteArrayView(file).sliced(2));
        return decoded.toUtf8();
    }
    return file;
}

CsvEncoding CsvEncodingOf(const QByteArray& bytes) {
    return QByteArrayView(bytes).isValidUtf8() ? CsvEncoding::Utf8 : CsvEncoding::Windows1251;
}

namespace {

// The length of the UTF-8 character at `at`, or 0 when no valid one starts there.
int Utf8CharacterLength(const QByteArray& bytes, qsizetype at) {
    const auto byte = [&](qsizetype i) {
        return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u;
    };
    const unsigned lead = byte(at);
    if (lead < 0x80) return 1;
    int length = 0;
    unsigned low = 0x80, high = 0xBF;  // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    const unsigned second = byte(at + 1);
    if (second < low || second > high) return 0;
    for (int i = 2; i < length; ++i)
        if ((byte(at + i) & 0xC0u) != 0x80u) return 0;
    return length;
}

}  // namespace

BrokenUtf8 FindBrokenUtf8(const QByteArray& bytes) {
    BrokenUtf8 first;
    int characters = 0;  // multi-byte UTF-8 characters
    int bad = 0;
    int line = 1;
    qsizetype lineStart = 0;
    for (qsizetype at = 0; at < bytes.size();) {
        const int length = Utf8CharacterLength(bytes, at);
        if (length == 0) {
            if (!first.found()) {
                first.line = line;
                first.byte = int(at - lineStart) + 1;
            }
            ++bad;
            ++at;
            continue;
        }
        if (length > 1) ++characters;
        if (bytes[at] == '\n') {
            ++line;
            lineStart = at + 1;
        }
        at += length;
    }
    return bad > 0 && characters > bad ? first : BrokenUtf8();
}

QString DecodeCsvField(const QByteArray& field, CsvEncoding encoding) {
    return encoding == CsvEncoding::Utf8 ? QString::fromUtf8(field) : FromCp1251(field);
}

namespace {

// Whether the first character of `text` after its apostrophes opens a formula.
bool StartsLikeFormula(const QByteArray& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == '\'') ++i;
    if (i == text.size()) return false;
    const char c = text[i];
    return c == '=' || c == '+' || c == '-' || c == '@';
}

}  // namespace

QByteArray FormulaSafeField(const QByteArray& text) {
    return StartsLikeFormula(text) ? '\'' + text : text;
}

QString FormulaFieldText(const QString& field) {
    return field.startsWith(QLatin1Char('\'')) && StartsLikeFormula(field.toUtf8()) ? field.mid(1)
                                                                                    : field;
}

QByteArray CsvField(const QByteArray& text, char separator) {
    const bool quoted = text.contains(separator) || text.contains('"') || text.contains('\n') ||
                        text.contains('\r') || text.startsWith(' ') || text.endsWith(' ') ||
                        text.startsWith('\t') || text.endsWith('\t');
    if (!quoted) return text;
    // The library writes the quotes and doubles the inner ones; it tells the
    // size it needs first.
    const size_t size = csv_write(nullptr, 0, text.constData(), size_t(text.size()));
    QByteArray field(int(size), '\0');
    csv_write(field.data(), size, text.constData(), size_t(text.size()));
    return field;
}
