#include "goods/CsvText.h"

#include <csv.h>

#include <QByteArrayView>
#include <QStringDecoder>
#include <algorithm>

#include "config/DeviceCharset.h"

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
