#pragma once

// The text side of CSV files as spreadsheets and accounting programs write
// them: which encoding the bytes are in, and how one field is written. The
// CSV grammar itself is the library's (libcsv); see CsvReader.

#include <QByteArray>
#include <QString>

enum class CsvEncoding { Utf8, Windows1251 };

struct CsvText {
    QByteArray bytes;  // without a byte-order mark; UTF-16 already turned into UTF-8
    CsvEncoding encoding = CsvEncoding::Utf8;
};

// A UTF-8 byte-order mark is dropped; UTF-16 with its mark becomes UTF-8.
QByteArray CsvBytesWithoutMark(const QByteArray& file);
// UTF-8 when the bytes are valid UTF-8 (plain ASCII included), otherwise
// Windows-1251, the other encoding Russian spreadsheets save in. Judge whole
// lines: a cut through a character would make UTF-8 invalid.
CsvEncoding CsvEncodingOf(const QByteArray& bytes);

// Where bytes that are UTF-8 for the most part break it (one stray byte in a
// UTF-8 file): the first bad byte's line and its byte within the line, from 1.
// Zero when the bytes are valid UTF-8 or hold more bytes outside UTF-8 than
// UTF-8 characters (Windows-1251 text).
struct BrokenUtf8 {
    int line = 0;
    int byte = 0;
    bool found() const { return line > 0; }
};
BrokenUtf8 FindBrokenUtf8(const QByteArray& bytes);

QString DecodeCsvField(const QByteArray& field, CsvEncoding encoding);

// One field as written into a line: in quotes, inner quotes doubled, when it
// holds the separator, a quote or a line break, or starts or ends with a
// space or tab (which a reader would otherwise trim); as it is otherwise.
QByteArray CsvField(const QByteArray& text, char separator);

// A field a spreadsheet would run as a formula (its first character after
// any apostrophes is =, +, - or @) is written with an apostrophe in front,
// which the spreadsheet shows as text; FormulaFieldText takes one off again,
// so that export and import stay a round trip.
QByteArray FormulaSafeField(const QByteArray& text);
QString FormulaFieldText(const QString& field);

// The byte-order mark that tells spreadsheets a CSV file is UTF-8.
QByteArray Utf8ByteOrderMark();
