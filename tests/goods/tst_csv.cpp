// The goods table in CSV: export and import give the same table, files as
// spreadsheets save them, every reason a row is refused, all or nothing, and
// files that are no goods table at all.

#include <QTemporaryDir>
#include <QtTest>

#include "device/DeviceCharset.h"
#include "goods/GoodsCsv.h"
#include "goods/GoodsTable.h"
#include "support/FifoWatch.h"
#include "support/GoodsRows.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDevice.h"

namespace {

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

// The lines of a file as a spreadsheet saves it, in the given encoding.
QByteArray Encoded(const QString& text, const QByteArray& encoding) {
    if (encoding == "utf-8-bom") return Utf8ByteOrderMark() + text.toUtf8();
    if (encoding == "utf-8") return text.toUtf8();
    if (encoding == "utf-16") {
        QByteArray bytes("\xFF\xFE", 2);
        for (QChar c : text) bytes += char(c.unicode() & 0xFF), bytes += char(c.unicode() >> 8);
        return bytes;
    }
    return ToCp1251(text);
}

GoodsCsvImport Decode(const char* utf8) {
    return DecodeGoodsCsv(QByteArray(utf8));
}

const char* const Header = "Код товара;Наименование;Тип. шрифта;Штрих-код;Секция;Цена\n";

}  // namespace

class TestCsv : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

private slots:
    // The exact bytes of an export: mark, titles, ";" and CRLF, quotes only
    // where a field needs them, the record number as the code, blank rows and
    // rows of zeros left out, prices with the decimal comma that a Russian
    // spreadsheet reads as a number beside ";".
    void exportWritesWhatSpreadsheetsRead() {
        GoodsTable table;
        table.setRecord(1, Row(0, "ЧАЙ; \"ЭКСТРА\"", true, "4600000000001", "3", "25.50"));
        table.setRecord(3, Row(2, " ХЛЕБ", false, "17", "0", "0.05"));
        table.setRecord(5,
                        Row(4, "", false, "0", "0", "0.00"));  // as the device keeps a free record
        int records = 0;
        const QByteArray bytes = EncodeGoodsCsv(table, &records);
        QCOMPARE(records, 2);
        QCOMPARE(bytes, QByteArray("\xEF\xBB\xBF") +
                            U("Код товара;Наименование;Тип. шрифта;Штрих-код;Секция;Цена\r\n"
                              "0;\"ЧАЙ; \"\"ЭКСТРА\"\"\";широкий;4600000000001;3;25,50\r\n"
                              "2;\" ХЛЕБ\";узкий;17;0;0,05\r\n")
                                .toUtf8());
    }

    void exportThenImportGivesTheSameTable() {
        GoodsTable table;
        table.setRecord(
            1, Row(0, "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧ", false, "281474976710655", "255", "999999999.00"));
        table.setRecord(2, Row(1, "ШИРОКОЕ ИМЯ", true, "0", "1", ".50"));
        table.setRecord(501, Row(500, "A;B,C D \"E\" ", false, "0046", "007", "12.30"));
        table.setRecord(1001, Row(1000, "#1 Е-МОЕ 100%", false, "1", "2", "3.00"));
        // Names a spreadsheet would take for formulas come back as they were.
        table.setRecord(20, Row(19, "=СУММ(A1)", false, "1", "2", "3.00"));
        table.setRecord(21, Row(20, "+7 ЧАЙ", false, "1", "2", "3.00"));
        table.setRecord(22, Row(21, "'=УЖЕ С АПОСТРОФОМ", false, "1", "2", "3.00"));
        table.setRecord(23, Row(22, "''-ДВА", false, "1", "2", "3.00"));
        for (int row = 10; row < 900; row += 7)
            table.setRecord(row, Row(row - 1, "ТОВАР", row % 2, "4607001234567", "12", "199.90"));
        QCOMPARE(ExportGoodsCsv(table, path("round.csv")), 136);

        const GoodsCsvImport import = ReadGoodsCsv(path("round.csv"));
        QVERIFY2(import.ok(), qPrintable(import.failureMessage()));
        GoodsTable loaded;
        ApplyGoodsCsv(loaded, import);
        QCOMPARE(loaded.records(), table.records());
    }

    // A field a spreadsheet would run as a formula is written as text, with
    // an apostrophe in front; other fields are written as they are.
    void exportKeepsSpreadsheetsFromRunningNames() {
        GoodsTable table;
        const char* names[] = {"=1+2", "+7", "-5 ЧАЙ", "@SUM", "'=X", "A=B", "'A", "'"};
        for (int i = 0; i < 8; ++i)
            table.setRecord(i + 1, Row(i, names[i], false, "1", "2", "3.00"));
        const QStringList lines = QString::fromUtf8(EncodeGoodsCsv(table)).split(U("\r\n"));
        QStringList written;
        for (int i = 1; i <= 8; ++i) written << lines[i].section(QLatin1Char(';'), 1, 1);
        QCOMPARE(written, (QStringList{U("'=1+2"), U("'+7"), U("'-5 ЧАЙ"), U("'@SUM"), U("''=X"),
                                       U("A=B"), U("'A"), U("'")}));

        // A file of another program's with the apostrophe already there.
        const GoodsCsvImport import = Decode(
            "Код товара;Наименование;Тип. шрифта;Штрих-код;Секция;Цена\n"
            "1;'=ИТОГ;узкий;1;1;'-1.00\n");
        QCOMPARE(import.status, GoodsCsvStatus::BadRows);
        QCOMPARE(import.problems.size(), 1);
        QCOMPARE(import.problems[0].column, U("Цена"));  // "-1.00" is still no price
        const GoodsCsvImport named = Decode(
            "Код товара;Наименование;Тип. шрифта;Штрих-код;Секция;Цена\n"
            "1;'=ИТОГ;узкий;1;1;1\n");
        QVERIFY(named.ok());
        QCOMPARE(FromCp1251(named.records[0].name), U("=ИТОГ"));
    }

    // A name goes in as the device prints it: small letters as capitals, Ё as
    // Е; a character the device cannot print refuses the file.
    void namesAreWhatTheDevicePrints() {
        const GoodsCsvImport import = Decode(
            "Код товара;Наименование;Тип. шрифта;Штрих-код;Секция;Цена\n"
            "1;ёлка ЁЖ;узкий;1;1;1\n");
        QVERIFY(import.ok());
        QCOMPARE(FromCp1251(import.records[0].name), U("ЕЛКА ЕЖ"));
    }

    // What spreadsheets and accounting programs write: each encoding, each
    // separator, CRLF or LF, columns in another order with one more, a decimal
    // comma, fonts as words, digits or nothing, names in small letters.
    void spreadsheetFiles_data() {
        QTest::addColumn<QByteArray>("encoding");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("lineEnd");
        for (const char* encoding : {"utf-8-bom", "utf-8", "windows-1251", "utf-16"})
            for (const char* separator : {";", ",", "\t"})
                for (const char* lineEnd : {"\r\n", "\n"}) {
                    const QByteArray name = QByteArray(encoding) + " sep " +
                                            (separator[0] == '\t' ? "tab" : separator) +
                                            (lineEnd[1] ? " CRLF" : " LF");
                    QTest::newRow(name.constData())
                        << QByteArray(encoding) << U(separator) << U(lineEnd);
                }
    }
    void spreadsheetFiles() {
        QFETCH(QByteArray, encoding);
        QFETCH(QString, separator);
        QFETCH(QString, lineEnd);
        const QList<QStringList> cells = {
            L({"Цена", "Штрих-код", "Наименование", "Примечание", "Секция", "Код товара",
               "тип шрифта"}),
            L({"12,5", "4600000000001", "чай ёлочный", "на развес", "3", "7", "широкий"}),
            L({"0.05", "17", "Хлеб \"Бородинский\"", "", "1", "8", "0"}),
            L({"1 234,00", "", "сахар, 1 кг", "", "2", "0009", ""}),
        };
        QStringList lines;
        for (const QStringList& row : cells) {
            QStringList fields;
            for (const QString& cell : row) {
                const bool quote = cell.contains(separator) || cell.contains(QLatin1Char('"'));
                QString field = cell;
                field.replace(QStringLiteral("\""), QStringLiteral("\"\""));
                fields << (quote ? QLatin1Char('"') + field + QLatin1Char('"') : field);
            }
            lines << fields.join(separator);
        }
        const QByteArray bytes = Encoded(lines.join(lineEnd) + lineEnd, encoding);
        WriteAll(path("sheet.csv"), bytes);

        GoodsTable table;
        FillMarked(table);
        ScriptedDialogs dialogs;
        QVERIFY(ImportGoodsCsvInteractive(table, path("sheet.csv"), dialogs));
        QCOMPARE(dialogs.texts(), QStringList{U("Импортировано записей: 3...")});
        QCOMPARE(table.record(8), Row(7, "ЧАЙ ЕЛОЧНЫЙ", true, "4600000000001", "3", "12.50"));
        QCOMPARE(table.record(9), Row(8, "ХЛЕБ \"БОРОДИНСКИЙ\"", false, "17", "1", "0.05"));
        QCOMPARE(table.record(10), Row(9, "САХАР, 1 КГ", false, "0", "2", "1234.00"));
        // Rows of other codes stay as they were.
        QCOMPARE(table.record(7), Row(999, "СТАРОЕ", true, "42", "9", "9.99"));
        QCOMPARE(table.record(11), Row(999, "СТАРОЕ", true, "42", "9", "9.99"));
    }

    // Each reason a row is refused, with its line and column.
    void badRows_data() {
        QTest::addColumn<QByteArray>("row");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("reason");
        auto add = [](const char* name, const char* row, const char* column, const char* reason) {
            QTest::newRow(name) << QByteArray(row) << U(column) << U(reason);
        };
        add("no code", ";ЧАЙ;узкий;1;1;1.00", "Код товара", "Незаполнено поле \"Код товара\"!");
        add("code 1001", "1001;ЧАЙ;узкий;1;1;1.00", "Код товара", "ожидается число от 0 до 1000");
        add("code -1", "-1;ЧАЙ;узкий;1;1;1.00", "Код товара", "ожидается число от 0 до 1000");
        add("repeated code", "1;ЧАЙ;узкий;1;1;1.00", "Код товара", "код 1 уже был в строке 2");
        add("name of 25", "5;АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШ;узкий;1;1;1.00", "Наименование",
            "Наименование длиннее 24 символов!");
        add("wide name of 13", "5;АБВГДЕЖЗИЙКЛМ;широкий;1;1;1.00", "Наименование",
            "Наименование широким шрифтом длиннее 12 символов!");
        add("number sign", "5;ЧАЙ №1;узкий;1;1;1.00", "Наименование", "АС не печатает символ «№»");
        add("the device's letter places", "5;{ЧАЙ}~;узкий;1;1;1.00", "Наименование",
            "АС не печатает символы «{», «}», «~»");
        add("font", "5;ЧАЙ;жирный;1;1;1.00", "Тип. шрифта",
            "ожидается «узкий», «широкий», 0 или 1");
        add("barcode letters", "5;ЧАЙ;узкий;46O0;1;1.00", "Штрих-код",
            "Неккоректное значение штрих-кода!");
        add("barcode as a spreadsheet rounds it", "5;ЧАЙ;узкий;4.6E+12;1;1.00", "Штрих-код",
            "Неккоректное значение штрих-кода!");
        add("barcode beyond 48 bits", "5;ЧАЙ;узкий;281474976710656;1;1.00", "Штрих-код",
            "Неккоректное значение штрих-кода!");
        add("no section", "5;ЧАЙ;узкий;1;;1.00", "Секция", "Незаполнено поле \"Секция\"!");
        add("section 256", "5;ЧАЙ;узкий;1;256;1.00", "Секция", "Неккоректное значение секции!");
        add("no price", "5;ЧАЙ;узкий;1;1;", "Цена", "Незаполнено поле \"Цена\"!");
        add("price 1.2.3", "5;ЧАЙ;узкий;1;1;1.2.3", "Цена",
            "Неккоректное значение цены! Возможно неккоректный разделитель!");
        add("negative price", "5;ЧАЙ;узкий;1;1;-1.00", "Цена",
            "Неккоректное значение цены! Возможно неккоректный разделитель!");
        add("decimal comma unquoted", "5;ЧАЙ;узкий;1;1;12;50", "",
            "полей больше, чем столбцов в заголовке (6); дробное число с запятой в файле с "
            "разделителем «,» берется в кавычки");
        add("price too large", "5;ЧАЙ;узкий;1;1;999999999.01", "Цена",
            "Значение параметра \"Цена\" превышает разрядность!");
    }
    void badRows() {
        QFETCH(QByteArray, row);
        QFETCH(QString, column);
        QFETCH(QString, reason);
        const QByteArray file = QByteArray(Header) + "1;ХЛЕБ;узкий;17;1;1.00\n" + row + "\n";
        const GoodsCsvImport import = DecodeGoodsCsv(file);
        QCOMPARE(import.status, GoodsCsvStatus::BadRows);
        QCOMPARE(import.problemCount, 1);
        QCOMPARE(import.problems[0].line, 3);
        QCOMPARE(import.problems[0].column, column);
        QCOMPARE(import.problems[0].reason, reason);
    }

    // One bad line among good ones: the report names it and the table stays
    // exactly as it was; a line break inside quotes does not shift the lines.
    void oneBadLineLoadsNothing() {
        QByteArray file = QByteArray(Header) + "0;\"ДВЕ\nСТРОКИ\";узкий;1;1;1.00\n";
        for (int code = 1; code < 300; ++code)
            file += QByteArray::number(code) + ";ТОВАР;узкий;1;1;1.00\r\n";
        file.replace("150;ТОВАР;узкий;1;1;1.00", "150;ТОВАР;узкий;1;1;1,2,3");
        WriteAll(path("one-bad.csv"), file);
        GoodsTable table;
        FillMarked(table);
        const QVector<GoodsRecord> before = table.records();
        ScriptedDialogs dialogs;
        QVERIFY(!ImportGoodsCsvInteractive(table, path("one-bad.csv"), dialogs));
        QCOMPARE(table.records(), before);
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(IsError(dialogs.shown[0]));
        QVERIFY2(
            dialogs.shown[0].text.startsWith(U("Ошибок в строках файла: 1. Таблица не изменена.")),
            qPrintable(dialogs.shown[0].text));
        QCOMPARE(dialogs.shown[0].details,
                 U("Строка 153, «Цена»: Неккоректное значение цены! Возможно неккоректный "
                   "разделитель!"));
    }

    void reportNamesTheFirstHundred() {
        QByteArray file = Header;
        for (int code = 0; code < 150; ++code) file += QByteArray::number(code) + ";;;x;1;1\n";
        const GoodsCsvImport import = DecodeGoodsCsv(file);
        QCOMPARE(import.problemCount, 150);
        QCOMPARE(import.problems.size(), MaxReportedCsvProblems);
        QCOMPARE(import.problems.last().line, 101);
        QString details;
        import.failureMessage(&details);
        QCOMPARE(details.count(QLatin1Char('\n')), 100);
        QVERIFY(details.endsWith(U("...и еще ошибок: 50")));
    }

    // A file that is not a goods table ends in one clear message; nothing is
    // loaded.
    void filesThatAreNoTable_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("line");
        auto add = [](const char* name, const QByteArray& bytes, GoodsCsvStatus status,
                      int line = 0) { QTest::newRow(name) << bytes << int(status) << line; };
        add("empty", {}, GoodsCsvStatus::Empty);
        add("only a mark and line breaks", "\xEF\xBB\xBF\r\n\r\n  \n", GoodsCsvStatus::Empty);
        QByteArray binary(4096, '\0');
        for (int i = 0; i < binary.size(); ++i) binary[i] = char((i * 37) % 256);
        add("binary", binary, GoodsCsvStatus::Binary);
        add("no header", "1;2;3\n4;5;6\n", GoodsCsvStatus::NoHeader);
        add("header only", Header, GoodsCsvStatus::NoRecords);
        add("missing column", U("Код товара;Наименование;Штрих-код;Секция\n1;А;1;1\n").toUtf8(),
            GoodsCsvStatus::MissingColumns, 1);
        add("repeated column", U("Цена;Код товара;Наименование;Штрих-код;Секция;Цена\n").toUtf8(),
            GoodsCsvStatus::DuplicateColumn, 1);
        add("unclosed quote",
            QByteArray(Header) + "1;\"ЧАЙ;узкий;1;1;1.00\n2;КОФЕ;узкий;1;1;1.00\n",
            GoodsCsvStatus::UnclosedQuote, 2);
        QByteArray manyAfterQuote = QByteArray(Header) + "1;\"ЧАЙ;узкий;1;1;1.00\n";
        for (int i = 0; i < 50; ++i) manyAfterQuote += "2;КОФЕ;узкий;1;1;1.00\n";
        add("quote that swallows the lines", manyAfterQuote, GoodsCsvStatus::UnclosedQuote, 2);
        add("quote inside a field", QByteArray(Header) + "1;ООО \"ЧАЙ\";узкий;1;1;1.00\n",
            GoodsCsvStatus::BadQuote, 2);
        add("text after a closing quote", QByteArray(Header) + "1;\"ЧАЙ\"X;узкий;1;1;1.00\n",
            GoodsCsvStatus::BadQuote, 2);
    }
    void filesThatAreNoTable() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, status);
        QFETCH(int, line);
        const GoodsCsvImport import = DecodeGoodsCsv(bytes);
        QCOMPARE(int(import.status), status);
        QCOMPARE(import.line, line);
        QVERIFY(import.records.isEmpty());
        QVERIFY(!import.failureMessage().isEmpty());
    }

    // A UTF-8 file with one stray byte is not taken for Windows-1251 (whose
    // reading would lose the titles): the message names its line and byte.
    // A Windows-1251 file is still read as such.
    void strayByteInUtf8NamesWhereItIs() {
        QByteArray bytes = U("Код товара;Наименование;Тип. шрифта;Штрих-код;Секция;Цена\n"
                             "1;ЧАЙ;узкий;1;1;1.00\n")
                               .toUtf8() +
                           "2;\xD0\x9A\xD0\x9E\xD0\xA4\xFF;" + U("узкий;1;1;1.00\n").toUtf8();
        const GoodsCsvImport import = DecodeGoodsCsv(bytes);
        QCOMPARE(int(import.status), int(GoodsCsvStatus::BadEncoding));
        QCOMPARE(import.line, 3);
        QCOMPARE(import.position, 9);
        QVERIFY(import.records.isEmpty());
        const QString message = import.failureMessage();
        QVERIFY2(message.contains(U("кодировку")) && message.contains(U("строке 3 (байт 9")),
                 qPrintable(message));

        const GoodsCsvImport cp1251 = DecodeGoodsCsv(
            ToCp1251(U("Код товара;Наименование;Штрих-код;Секция;Цена\n1;ЧАЙ ЧЕРНЫЙ;1;1;1.00\n")));
        QCOMPARE(int(cp1251.status), int(GoodsCsvStatus::Ok));
        QCOMPARE(int(cp1251.encoding), int(CsvEncoding::Windows1251));
        QCOMPARE(FindBrokenUtf8("plain ASCII\n").found(), false);
    }

    void messagesNameWhatIsWrong() {
        QCOMPARE(Decode("Код товара;Наименование;Штрих-код;Секция\n").failureMessage(),
                 U("В заголовке файла нет столбца «Цена».\nФайл не загружен..."));
        QVERIFY(Decode("a;b\n").failureMessage().contains(U("«Код товара», «Наименование»")));
    }

    // Huge files stop after the bounds: a million short lines at the record
    // limit, a hundred megabytes without a line break at the byte limit.
    void hugeFilesStopEarly() {
        {
            QFile file(path("million.csv"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(Header);
            QByteArray block;
            for (int i = 0; i < 10000; ++i) block += "1;ЧАЙ;узкий;1;1;1.00\r\n";
            for (int i = 0; i < 100; ++i) file.write(block);
        }
        GoodsCsvImport import = ReadGoodsCsv(path("million.csv"));
        QCOMPARE(import.status, GoodsCsvStatus::TooManyRecords);
        QCOMPARE(import.line, GoodsRecordCount + 2);  // the 1002nd record
        QVERIFY(import.failureMessage().contains(U("остановлено на строке 1003")));

        // A spreadsheet's empty rows are no records, but a million of them are
        // no table either.
        {
            QFile file(path("empty-rows.csv"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(Header);
            file.write("1;ЧАЙ;узкий;1;1;1.00\r\n");
            const QByteArray block = QByteArray(";;;;;\r\n").repeated(10000);
            for (int i = 0; i < 100; ++i) file.write(block);
        }
        import = ReadGoodsCsv(path("empty-rows.csv"));
        QCOMPARE(import.status, GoodsCsvStatus::TooManyRecords);
        QCOMPARE(import.line, MaxGoodsCsvLines);

        {
            QFile file(path("huge.csv"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(Header);
            const QByteArray block(1024 * 1024, 'A');
            for (int i = 0; i < 100; ++i) file.write(block);
        }
        import = ReadGoodsCsv(path("huge.csv"));
        QCOMPARE(import.status, GoodsCsvStatus::TooLarge);
    }

    // A name that is not a file is refused before it is read: a directory, a
    // named pipe without a writer (which would block an ordinary open), a
    // missing file.
    void onlyRegularFilesAreRead() {
#ifndef Q_OS_UNIX
        QSKIP("FIFOs and device files are Unix's own");
#endif
        QCOMPARE(ReadGoodsCsv(dir_.path()).status, GoodsCsvStatus::NotARegularFile);
        QCOMPARE(ReadGoodsCsv(path("missing.csv")).status, GoodsCsvStatus::CannotOpen);
        FifoWatch fifo(path("pipe.csv"));
        QVERIFY(fifo.made());
        ScriptedDialogs dialogs;
        GoodsTable table;
        QVERIFY(!ImportGoodsCsvInteractive(table, path("pipe.csv"), dialogs));
        QCOMPARE(dialogs.texts(),
                 QStringList{U("Это не файл, а папка или устройство. Выберите файл CSV...")});
        QVERIFY(!fifo.opened());
    }

    // The import takes the comma it writes and the point older files hold;
    // the record comes back with the grid's point either way.
    void pricesWithCommaOrPointReadTheSame() {
        for (const char* price : {"12,30", "12.30", "\"12,30\""}) {
            const GoodsCsvImport import = DecodeGoodsCsv(
                QByteArray(Header) + U("4;ЧАЙ;узкий;0;1;").toUtf8() + QByteArray(price) + "\n");
            QVERIFY2(import.ok(), price);
            QCOMPARE(import.records.value(0).price, QByteArray("12.30"));
        }
    }

    // A file that does not open is named, with the cause, after the old text.
    void openFailureNamesFileAndCause() {
        ScriptedDialogs dialogs;
        GoodsTable table;
        const QString missing = path("missing.csv");
        QVERIFY(!ImportGoodsCsvInteractive(table, missing, dialogs));
        QCOMPARE(dialogs.texts(), QStringList{U("Не удалось открыть файл...\n«%1»: файл не найден.")
                                                  .arg(QDir::toNativeSeparators(missing))});
        const GoodsCsvImport inMissingFolder = ReadGoodsCsv(path("nowhere/x.csv"));
        QCOMPARE(inMissingFolder.status, GoodsCsvStatus::CannotOpen);
        QVERIFY2(inMissingFolder.failureMessage().endsWith(U("»: папка файла не найдена.")),
                 qPrintable(inMissingFolder.failureMessage()));
    }

    void exportIntoMissingFolderFails() {
        ScriptedDialogs dialogs;
        GoodsTable table;
        QCOMPARE(ExportGoodsCsvInteractive(table, path("no/such/dir/x.csv"), dialogs), -1);
        QCOMPARE(dialogs.texts(), QStringList{U("Не удалось создать файл...")});
        QCOMPARE(ExportGoodsCsvInteractive(table, path("empty.csv"), dialogs), 0);
        QCOMPARE(dialogs.texts().last(), U("Сохранено записей: 0..."));
    }
};

QTEST_GUILESS_MAIN(TestCsv)
#include "tst_csv.moc"
