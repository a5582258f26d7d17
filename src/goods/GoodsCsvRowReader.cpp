#include "goods/GoodsCsvRowReader.h"

#include "device/DeviceCharset.h"
#include "goods/GoodsRecordCheck.h"
#include "goods/GoodsTable.h"

namespace {

constexpr int MaxCode = GoodsRecordCount - 1;

}  // namespace

GoodsCsvRowReader::GoodsCsvRowReader(GoodsCsvImport& import, const GoodsCsvFields& fieldOf,
                                     int headerFields)
    : import_(import), fieldOf_(fieldOf), headerFields_(headerFields) {}

void GoodsCsvRowReader::read(const CsvRecord& record) {
    line_ = record.line;
    problemsInRow_ = 0;
    // More filled fields than titles: most likely a decimal comma without
    // quotes in a file separated by commas, which would shift the columns.
    for (int field = headerFields_; field < record.fields.size(); ++field) {
        if (record.fields[field].trimmed().isEmpty()) continue;
        problem(-1, QStringLiteral("полей больше, чем столбцов в заголовке (%1); дробное число "
                                   "с запятой в файле с разделителем «,» берется в кавычки")
                        .arg(headerFields_));
        break;
    }
    GoodsRecord out;
    out.code = code(record);
    const bool isWide = wide(record);
    out.font = isWide ? WideFontText() : NarrowFontText();

    // The editors' rule for typed text: capitals, Ё as Е, and nothing the
    // device cannot print.
    QString refused;
    const QString name = DeviceLineInput(text(record, ColName), &refused);
    if (!refused.isEmpty())
        problem(ColName, RefusedCharactersReason(refused));
    else
        check(ColName, GoodsNameProblem(name, isWide));
    out.name = ToCp1251(name);

    // An empty barcode is what the editor shows as 0.
    QString barcode = text(record, ColBarcode).trimmed();
    if (barcode.isEmpty()) barcode = QStringLiteral("0");
    check(ColBarcode, GoodsBarcodeProblem(barcode));
    out.barcode = barcode.toLatin1();

    const QString section = text(record, ColSection).trimmed();
    check(ColSection, section.isEmpty() ? EmptyFieldMessage(GoodsColumnTitle(ColSection))
                                        : GoodsSectionProblem(section));
    out.section = section.toLatin1();

    out.price = price(record);
    if (problemsInRow_ == 0) import_.records.append(out);
}

QString GoodsCsvRowReader::text(const CsvRecord& record, int column) const {
    const int field = fieldOf_[size_t(column)];
    if (field < 0 || field >= record.fields.size()) return {};
    return FormulaFieldText(DecodeCsvField(record.fields[field], import_.encoding));
}

void GoodsCsvRowReader::problem(int column, const QString& reason) {
    ++problemsInRow_;
    ++import_.problemCount;
    if (import_.problems.size() >= MaxReportedCsvProblems) return;
    // The report has one line per fault.
    QString flat = reason;
    flat.replace(QLatin1Char('\n'), QLatin1Char(' '));
    import_.problems.append({line_, column < 0 ? QString() : GoodsColumnTitle(column), flat});
}

void GoodsCsvRowReader::check(int column, const QString& reason) {
    if (!reason.isEmpty()) problem(column, reason);
}

QByteArray GoodsCsvRowReader::code(const CsvRecord& record) {
    const QString text = this->text(record, ColCode).trimmed();
    if (text.isEmpty()) {
        problem(ColCode, EmptyFieldMessage(GoodsColumnTitle(ColCode)));
        return {};
    }
    int64_t value = 0;
    if (!CellNumber(text.toLatin1(), MaxCode, value)) {
        problem(ColCode, QStringLiteral("ожидается число от 0 до %1").arg(MaxCode));
        return {};
    }
    int& first = firstLineOfCode_[size_t(value)];
    if (first != 0)
        problem(ColCode, QStringLiteral("код %1 уже был в строке %2").arg(value).arg(first));
    else
        first = line_;
    return QByteArray::number(qlonglong(value));
}

// The grid's words or the file's flags; nothing is narrow print.
bool GoodsCsvRowReader::wide(const CsvRecord& record) {
    const QString font = text(record, ColFont).trimmed().toLower();
    if (font == QStringLiteral("широкий") || font == QStringLiteral("1")) return true;
    if (!font.isEmpty() && font != QStringLiteral("узкий") && font != QStringLiteral("0"))
        problem(ColFont, QStringLiteral("ожидается «узкий», «широкий», 0 или 1"));
    return false;
}

// A decimal comma as well as a point; spaces between the digit groups,
// ordinary or no-break, as a spreadsheet may format them.
QByteArray GoodsCsvRowReader::price(const CsvRecord& record) {
    QString price = text(record, ColPrice);
    price.remove(QLatin1Char(' '));
    price.remove(QChar(0x00A0));
    price.remove(QChar(0x202F));
    price.replace(QLatin1Char(','), QLatin1Char('.'));
    if (price.isEmpty()) {
        problem(ColPrice, EmptyFieldMessage(GoodsColumnTitle(ColPrice)));
        return {};
    }
    const GoodsPriceCheck checked = CheckGoodsPrice(price);
    check(ColPrice, checked.problem);
    return checked.normalised;
}
