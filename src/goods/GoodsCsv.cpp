#include "goods/GoodsCsv.h"

#include <QFile>
#include <QFileInfo>
#include <array>

#include "device/DeviceCharset.h"
#include "goods/CsvReader.h"
#include "goods/GoodsCsvRowReader.h"
#include "goods/GoodsRecordCheck.h"
#include "goods/GoodsTable.h"
#include "shell/RegularFile.h"
#include "shell/SafeSave.h"
#include "shell/UserDialogs.h"

namespace {

constexpr char ExportSeparator = ';';
constexpr int FirstColumn = ColCode;
constexpr int LastColumn = ColPrice;

QString Title(int column) {
    return GoodsColumnTitle(column);
}

QString Quoted(const QString& title) {
    return QStringLiteral("«%1»").arg(title);
}

// ---- export ---------------------------------------------------------------

void AppendLine(QByteArray& out, const QList<QByteArray>& fields) {
    for (int i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ExportSeparator;
        out += CsvField(FormulaSafeField(fields[i]), ExportSeparator);
    }
    out += "\r\n";
}

// ---- import: the header -----------------------------------------------------

// Titles compare without case, dots, 'ё' and extra spaces: "тип шрифта" is
// "Тип. шрифта".
QString TitleKey(const QString& title) {
    QString key = title.toLower();
    key.replace(QChar(u'ё'), QChar(u'е'));
    key.remove(QLatin1Char('.'));
    return key.simplified();
}

int ColumnOfTitle(const QString& title) {
    const QString key = TitleKey(title);
    for (int column = FirstColumn; column <= LastColumn; ++column)
        if (TitleKey(Title(column)) == key) return column;
    return -1;
}

bool IsBlank(const CsvRecord& record) {
    for (const QByteArray& field : record.fields)
        if (!field.trimmed().isEmpty()) return false;
    return true;
}

struct Header {
    CsvRecord record;
    int known = 0;  // fields that are one of the titles
    CsvReadOutcome outcome;
};

// The first non-empty record read with `separator`.
Header ReadHeader(const CsvText& text, char separator) {
    Header header;
    header.outcome = ReadCsv(text.bytes, separator, [&](const CsvRecord& record) {
        if (IsBlank(record)) return true;
        header.record = record;
        return false;
    });
    for (const QByteArray& field : header.record.fields)
        if (ColumnOfTitle(DecodeCsvField(field, text.encoding)) >= 0) ++header.known;
    return header;
}

// Binary data: a zero byte, or more control characters than a text has.
bool LooksBinary(const QByteArray& text) {
    if (text.contains('\0')) return true;
    int control = 0;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\t' && c != '\r' && c != '\n') || u == 0x7F) ++control;
    }
    return control > 8 && control * 100 > text.size();
}

bool HasContent(const QByteArray& text) {
    for (const char c : text)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return true;
    return false;
}

// Cuts the text after MaxGoodsCsvLines lines; true when something else than
// empty lines follows.
bool CutAtLineLimit(QByteArray& text, int& lastLine) {
    int lines = 0;
    qsizetype at = 0;
    while (lines < MaxGoodsCsvLines) {
        const qsizetype next = text.indexOf('\n', at);
        if (next < 0) return false;
        ++lines;
        at = next + 1;
    }
    lastLine = lines;
    const bool more = HasContent(QByteArray::fromRawData(text.constData() + at, text.size() - at));
    text.truncate(at);
    return more;
}

GoodsCsvImport Failure(GoodsCsvImport import, GoodsCsvStatus status, int line = 0) {
    import.status = status;
    import.line = line;
    import.records.clear();
    return import;
}

GoodsCsvImport QuoteFailure(GoodsCsvImport import, const CsvReadOutcome& outcome) {
    if (outcome.status == CsvReadStatus::BadQuote)
        return Failure(std::move(import), GoodsCsvStatus::BadQuote, outcome.line);
    if (outcome.status == CsvReadStatus::UnclosedQuote)
        return Failure(std::move(import), GoodsCsvStatus::UnclosedQuote, outcome.recordLine);
    return Failure(std::move(import), GoodsCsvStatus::TooLarge);
}

const char* const NotLoaded = "Файл не загружен...";

}  // namespace

QByteArray EncodeGoodsCsv(const GoodsTable& table, int* records) {
    QByteArray out = Utf8ByteOrderMark();
    QList<QByteArray> fields;
    for (int column = FirstColumn; column <= LastColumn; ++column) fields << Title(column).toUtf8();
    AppendLine(out, fields);
    int count = 0;
    for (int row = 1; row <= GoodsRecordCount; ++row) {
        const GoodsRecord& record = table.record(row);
        if (!record.hasGoods()) continue;
        fields.clear();
        // The record number, which is what the import places the record by.
        fields << QByteArray::number(row - 1);
        for (int column = ColName; column <= LastColumn; ++column) {
            QByteArray field = FromCp1251(record.cell(column)).toUtf8();
            // A spreadsheet that separates fields with ";" reads "12.30" as text
            // or a date; its number is "12,30".
            if (column == ColPrice && ExportSeparator == ';') field.replace('.', ',');
            fields << field;
        }
        AppendLine(out, fields);
        ++count;
    }
    if (records) *records = count;
    return out;
}

int ExportGoodsCsv(const GoodsTable& table, const QString& path) {
    int records = 0;
    const QByteArray bytes = EncodeGoodsCsv(table, &records);
    return SaveFileSafely(path, bytes) ? records : -1;
}

int ExportGoodsCsvInteractive(const GoodsTable& table, const QString& path, UserDialogs& dialogs) {
    const int records = ExportGoodsCsv(table, path);
    if (records < 0)
        dialogs.error(QStringLiteral("Не удалось создать файл..."));
    else
        dialogs.plain(QStringLiteral("Сохранено записей: %1...").arg(records));
    return records;
}

GoodsCsvImport DecodeGoodsCsv(const QByteArray& file, bool truncated) {
    GoodsCsvImport import;
    CsvText text;
    text.bytes = CsvBytesWithoutMark(file);
    if (!HasContent(text.bytes)) return Failure(import, GoodsCsvStatus::Empty);
    if (LooksBinary(text.bytes)) return Failure(import, GoodsCsvStatus::Binary);
    int lastLine = 0;
    const bool cut = CutAtLineLimit(text.bytes, lastLine);
    // Fewer lines than the limit in the first megabytes: lines no goods table has.
    if (truncated && !cut) return Failure(import, GoodsCsvStatus::TooLarge);
    text.encoding = CsvEncodingOf(text.bytes);
    import.encoding = text.encoding;
    // Read as Windows-1251, a UTF-8 file with one stray byte would lose its
    // titles and every Russian letter: the user is told where the byte is.
    if (text.encoding == CsvEncoding::Windows1251) {
        if (const BrokenUtf8 broken = FindBrokenUtf8(text.bytes); broken.found()) {
            import.position = broken.byte;
            return Failure(import, GoodsCsvStatus::BadEncoding, broken.line);
        }
    }

    // The separator that makes the most titles of the first line.
    Header header;
    CsvReadOutcome semicolon;
    for (const char separator : {';', ',', '\t'}) {
        Header candidate = ReadHeader(text, separator);
        if (separator == ';') semicolon = candidate.outcome;
        if (candidate.known > header.known) {
            header = candidate;
            import.separator = separator;
        }
    }
    if (header.known == 0) {
        // A quote error in the first line hides its titles.
        if (semicolon.status == CsvReadStatus::BadQuote ||
            semicolon.status == CsvReadStatus::UnclosedQuote)
            return QuoteFailure(import, semicolon);
        return Failure(import, GoodsCsvStatus::NoHeader);
    }

    GoodsCsvFields fieldOf;
    fieldOf.fill(-1);
    for (int field = 0; field < header.record.fields.size(); ++field) {
        const QString title = DecodeCsvField(header.record.fields[field], import.encoding);
        const int column = ColumnOfTitle(title);
        if (column < 0) continue;
        if (fieldOf[size_t(column)] >= 0) {
            import.columns = QStringList{Title(column)};
            return Failure(import, GoodsCsvStatus::DuplicateColumn, header.record.line);
        }
        fieldOf[size_t(column)] = field;
    }
    for (int column = FirstColumn; column <= LastColumn; ++column)
        if (column != ColFont && fieldOf[size_t(column)] < 0) import.columns << Title(column);
    if (!import.columns.isEmpty())
        return Failure(import, GoodsCsvStatus::MissingColumns, header.record.line);

    GoodsCsvRowReader rows(import, fieldOf, int(header.record.fields.size()));
    int dataRecords = 0;
    int tooManyAt = 0;
    const CsvReadOutcome outcome =
        ReadCsv(text.bytes, import.separator, [&](const CsvRecord& record) {
            if (record.line <= header.record.line || IsBlank(record)) return true;
            if (++dataRecords > GoodsRecordCount) {
                tooManyAt = record.line;
                return false;
            }
            rows.read(record);
            return true;
        });
    if (tooManyAt > 0) return Failure(import, GoodsCsvStatus::TooManyRecords, tooManyAt);
    if (outcome.status != CsvReadStatus::Ok && outcome.status != CsvReadStatus::Stopped)
        return QuoteFailure(import, outcome);
    if (cut) return Failure(import, GoodsCsvStatus::TooManyRecords, lastLine);
    if (import.problemCount > 0) return Failure(import, GoodsCsvStatus::BadRows);
    if (import.records.isEmpty()) return Failure(import, GoodsCsvStatus::NoRecords);
    return import;
}

GoodsCsvImport ReadGoodsCsv(const QString& path) {
    GoodsCsvImport import;
    QFile file;
    if (!OpenRegularFile(file, path)) {
        // A name that is there but is no file (a folder, a pipe, a device)
        // gets its own message; it was never opened.
        const QFileInfo info(path);
        import.path = path;
        import.cause = FileOpenFailureCause(path);
        return Failure(import, info.exists() && !info.isFile() ? GoodsCsvStatus::NotARegularFile
                                                               : GoodsCsvStatus::CannotOpen);
    }
    // One byte past the bound tells that the file holds more.
    QByteArray bytes = file.read(MaxGoodsCsvBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        import.path = path;
        import.cause = file.errorString();
        return Failure(import, GoodsCsvStatus::CannotOpen);
    }
    const bool truncated = bytes.size() > MaxGoodsCsvBytes;
    if (truncated) bytes.truncate(int(MaxGoodsCsvBytes));
    GoodsCsvImport decoded = DecodeGoodsCsv(bytes, truncated);
    decoded.path = path;
    return decoded;
}

void ApplyGoodsCsv(GoodsTable& table, const GoodsCsvImport& import) {
    if (!import.ok()) return;
    // One repaint for the whole table rather than one per record.
    QVector<GoodsRecord> records = table.records();
    for (const GoodsRecord& record : import.records) records[record.code.toInt()] = record;
    table.setRecords(1, records);
}

QString GoodsCsvImport::failureMessage(QString* details) const {
    const QString notLoaded = QString::fromUtf8(NotLoaded);
    switch (status) {
        case GoodsCsvStatus::Ok:
            return {};
        case GoodsCsvStatus::CannotOpen:
            return path.isEmpty()
                       ? QStringLiteral("Не удалось открыть файл...")
                       : FileMessage(QStringLiteral("Не удалось открыть файл..."), path, cause);
        case GoodsCsvStatus::NotARegularFile:
            return QStringLiteral("Это не файл, а папка или устройство. Выберите файл CSV...");
        case GoodsCsvStatus::Empty:
            return QStringLiteral("Файл пуст...");
        case GoodsCsvStatus::Binary:
            return QStringLiteral("Это не текстовый файл CSV: в нем двоичные данные.\n") +
                   notLoaded;
        case GoodsCsvStatus::BadEncoding:
            return QStringLiteral(
                       "Не удалось прочитать кодировку файла: он записан в UTF-8, но в строке "
                       "%1 (байт %2 строки) стоит байт, которого в UTF-8 не бывает. Сохраните "
                       "файл заново в UTF-8 или в Windows-1251.\n")
                       .arg(line)
                       .arg(position) +
                   notLoaded;
        case GoodsCsvStatus::TooLarge:
            return QStringLiteral(
                       "Файл больше %1 МБ: таблица товаров (не больше %2 записей) столько не "
                       "занимает. Файл прочитан только до этой границы.\n")
                       .arg(MaxGoodsCsvBytes / (1024 * 1024))
                       .arg(GoodsRecordCount) +
                   notLoaded;
        case GoodsCsvStatus::TooManyRecords:
            return QStringLiteral(
                       "В файле больше записей, чем вмещает база товаров (%1). Чтение "
                       "остановлено на строке %2.\n")
                       .arg(GoodsRecordCount)
                       .arg(line) +
                   notLoaded;
        case GoodsCsvStatus::BadQuote:
            return QStringLiteral(
                       "Строка %1: ошибка в кавычках. Поле с кавычкой, разделителем или "
                       "переносом строки заключается в кавычки, а кавычки внутри него "
                       "удваиваются.\n")
                       .arg(line) +
                   notLoaded;
        case GoodsCsvStatus::UnclosedQuote:
            return QStringLiteral("Строка %1: кавычка открыта и не закрыта.\n").arg(line) +
                   notLoaded;
        case GoodsCsvStatus::NoHeader: {
            QStringList titles;
            for (int column = FirstColumn; column <= LastColumn; ++column)
                titles << Quoted(Title(column));
            return QStringLiteral(
                       "В первой строке файла нет заголовков столбцов. Ожидаются %1; "
                       "разделитель «;», «,» или табуляция.\n")
                       .arg(titles.join(QStringLiteral(", "))) +
                   notLoaded;
        }
        case GoodsCsvStatus::MissingColumns: {
            QStringList titles;
            for (const QString& title : columns) titles << Quoted(title);
            return (columns.size() == 1 ? QStringLiteral("В заголовке файла нет столбца %1.\n")
                                        : QStringLiteral("В заголовке файла нет столбцов %1.\n"))
                       .arg(titles.join(QStringLiteral(", "))) +
                   notLoaded;
        }
        case GoodsCsvStatus::DuplicateColumn:
            return QStringLiteral("Столбец %1 встречается в заголовке дважды.\n")
                       .arg(Quoted(columns.value(0))) +
                   notLoaded;
        case GoodsCsvStatus::NoRecords:
            return QStringLiteral("В файле нет ни одной записи...");
        case GoodsCsvStatus::BadRows:
            break;
    }
    QStringList lines;
    for (const GoodsCsvProblem& problem : problems)
        lines << (problem.column.isEmpty()
                      ? QStringLiteral("Строка %1: %2").arg(problem.line).arg(problem.reason)
                      : QStringLiteral("Строка %1, %2: %3")
                            .arg(problem.line)
                            .arg(Quoted(problem.column), problem.reason));
    const int rest = problemCount - int(problems.size());
    if (rest > 0) lines << QStringLiteral("...и еще ошибок: %1").arg(rest);
    if (details) *details = lines.join(QLatin1Char('\n'));
    // The first few in the message itself, the whole list under it.
    const QStringList first = lines.mid(0, 5);
    return QStringLiteral("Ошибок в строках файла: %1. Таблица не изменена.\n\n%2%3\n\n")
               .arg(problemCount)
               .arg(first.join(QLatin1Char('\n')),
                    lines.size() > first.size() ? QStringLiteral("\n...") : QString()) +
           notLoaded;
}

bool ImportGoodsCsvInteractive(GoodsTable& table, const QString& path, UserDialogs& dialogs) {
    const GoodsCsvImport import = ReadGoodsCsv(path);
    if (!import.ok()) {
        QString details;
        const QString message = import.failureMessage(&details);
        if (details.isEmpty())
            dialogs.error(message);
        else
            dialogs.errorWithDetails(message, details);
        return false;
    }
    ApplyGoodsCsv(table, import);
    dialogs.success(QStringLiteral("Импортировано записей: %1...").arg(import.records.size()));
    return true;
}
