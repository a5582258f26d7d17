#include "forms/FormPreview.h"

#include <algorithm>

#include "config/DeviceConfiguration.h"
#include "device/DeviceCharset.h"
#include "forms/FormVariants.h"

namespace {

constexpr int CharactersOffset = 1;
constexpr int WideCharacters = 12;

// Cliché 1 lines 1..5 head the document, 6..8 close it.
constexpr int ClicheHeaderLines = 5;

void AppendText(QStringList& lines, const DeviceText& text) {
    const QByteArray printed = PreviewLine(text);
    if (!printed.isEmpty()) lines << FromCp1251(printed);
}

}  // namespace

int PreviewFontPixels(int width, int height) {
    const double scale =
        std::min(double(width) / PreviewLeastWidth, double(height) / PreviewLeastHeight);
    return std::max(PreviewLeastFontPixels, int(PreviewLeastFontPixels * scale));
}

QByteArray PreviewLine(const DeviceText& text) {
    QByteArray characters = FieldText(text.bytes + CharactersOffset, PreviewLineWidth);
    // A foreign file can put line breaks or tabs into a text; shown as they
    // are they would split one printed line in two or shift its columns.
    for (char& c : characters)
        if (uchar(c) < 0x20) c = ' ';
    if (text.bytes[0] == '0') return characters;
    QByteArray wide;
    for (int i = 0; i < characters.size() && i < WideCharacters; ++i) {
        wide += characters[i];
        wide += ' ';
    }
    return wide;
}

QStringList FormPreviewLines(const DeviceConfiguration& config, int formNumber) {
    QStringList lines;
    if (formNumber < 1 || formNumber > FormCount) return lines;
    const FormSlot& slot = config.forms[formNumber - 1];
    const ClicheRecord& cliche = config.cliches[0];

    for (int i = 0; i < ClicheHeaderLines; ++i) AppendText(lines, cliche.lines[i]);
    lines << QStringLiteral("ИНН         000000000000")
          << QStringLiteral("ЗАВОД. НОМЕР    00000000")
          << QStringLiteral("ДОК. НОМЕР          0000")
          << QStringLiteral("------------------------");
    AppendText(lines, config.documentName);
    lines << QStringLiteral("Серия АБ-0000    0000000")
          << QStringLiteral("00/00/00           00:00")
          << QStringLiteral("  ПЕРВАЯ СТРОКА УСЛУГИ  ")
          << QStringLiteral("  ВТОРАЯ СТРОКА УСЛУГИ  ")
          << QStringLiteral("  ТРЕТЬЯ СТРОКА УСЛУГИ  ")
          << QStringLiteral("                 *000.00");

    // A variant number the table does not know carries neither a requisite nor a discount.
    const FormVariant* variant = FormVariantOf(slot.variant);
    if (variant && variant->offersRequisite && slot.requisite >= 1 &&
        slot.requisite <= RequisiteCount) {
        for (const DeviceText& line : config.requisites[slot.requisite - 1].lines)
            AppendText(lines, line);
    }
    if (variant && variant->offersDiscount) {
        switch (slot.kind) {
            case 1:
                lines << QStringLiteral("СКИДКА 00%        *00.00");
                break;
            case 2:
                lines << QStringLiteral("НАЛОГ 00%        *00.00");
                break;
            case 3:
                lines << QStringLiteral("КОД ");
                break;
            default:
                break;
        }
    }

    lines << QStringLiteral("ИТОГО            *000.00") << QStringLiteral("НАЛИЧНЫМИ")
          << QStringLiteral("------------------------")
          << QStringLiteral("ПРИНЯЛ ОПЕРАТОР №0:     ")
          << QStringLiteral("ДОЛЖНОСТЬ ОПЕРАТОРА     ")
          << QStringLiteral("Ф.И.О. ОПЕРАТОРА        ") << QString()
          << QStringLiteral("ПОДПИСЬ ................");
    for (int i = ClicheHeaderLines; i < ClicheLineCount; ++i) AppendText(lines, cliche.lines[i]);
    return lines;
}
