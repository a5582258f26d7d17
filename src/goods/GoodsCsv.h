#pragma once

// The goods table to and from CSV files, for the shops that keep their goods
// in spreadsheets and accounting programs.
//
// Export: a header of the grid's column titles, then one line per record that
// holds goods; ";" between fields, UTF-8 with a byte-order mark, CRLF, prices
// with the decimal comma that goes with ";" ("12,30").
// Import: UTF-8 (with or without the mark) or Windows-1251, ";", "," or tab
// found from the header, columns found by their titles in any order. Every row
// goes through the record editor's rules; the import is all or nothing.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include "goods/CsvText.h"
#include "goods/GoodsRecord.h"

class GoodsTable;
class UserDialogs;

// A file bigger than this is no goods table, whatever it holds.
constexpr qint64 MaxGoodsCsvBytes = 4 * 1024 * 1024;
// 1001 records, the header and a few empty lines at the end.
constexpr int MaxGoodsCsvLines = GoodsRecordCount + 1 + 50;
// The report names this many faults and counts the rest.
constexpr int MaxReportedCsvProblems = 100;

// ---- export ---------------------------------------------------------------

// The file's bytes; `records` gets the number of lines after the header.
QByteArray EncodeGoodsCsv(const GoodsTable& table, int* records = nullptr);

// Saved as every file of the program is (SaveFileSafely): an existing file
// is replaced only by a complete one.
// The number of records written, or -1 when the file could not be written.
int ExportGoodsCsv(const GoodsTable& table, const QString& path);
// With the page's messages.
int ExportGoodsCsvInteractive(const GoodsTable& table, const QString& path, UserDialogs& dialogs);

// ---- import ---------------------------------------------------------------

enum class GoodsCsvStatus {
    Ok,
    CannotOpen,
    NotARegularFile,
    Empty,
    Binary,
    BadEncoding,     // UTF-8 but for a byte at `line`, `position` (its byte in the line)
    TooLarge,        // more than MaxGoodsCsvBytes
    TooManyRecords,  // more records or lines than the table takes; reading stopped at `line`
    BadQuote,        // at `line`
    UnclosedQuote,   // opened on `line`
    NoHeader,
    MissingColumns,   // `columns` lists them
    DuplicateColumn,  // `columns` holds it
    NoRecords,
    BadRows,  // `problems`
};

struct GoodsCsvProblem {
    int line = 0;
    QString column;  // the column's title; empty for the row as a whole
    QString reason;
};

struct GoodsCsvImport {
    GoodsCsvStatus status = GoodsCsvStatus::Ok;
    QVector<GoodsRecord> records;       // each under its code; the table row is code + 1
    QVector<GoodsCsvProblem> problems;  // the first MaxReportedCsvProblems
    int problemCount = 0;
    int line = 0;
    int position = 0;
    QStringList columns;
    char separator = ';';
    CsvEncoding encoding = CsvEncoding::Utf8;
    QString path;   // the file read, when there was one
    QString cause;  // CannotOpen: why

    bool ok() const { return status == GoodsCsvStatus::Ok; }
    // What the user is told when the import fails; `details` gets the list
    // of bad rows.
    QString failureMessage(QString* details = nullptr) const;
};

// The file's bytes (at most MaxGoodsCsvBytes; `truncated` when the file held
// more) to records, with nothing applied yet.
GoodsCsvImport DecodeGoodsCsv(const QByteArray& file, bool truncated = false);
// Reads the named file, safely and within the bounds, and decodes it.
GoodsCsvImport ReadGoodsCsv(const QString& path);
// A successful import into the table: its records replace the rows of their
// codes; other rows stay.
void ApplyGoodsCsv(GoodsTable& table, const GoodsCsvImport& import);
// Reads, applies on success and tells the user either way. True when applied.
bool ImportGoodsCsvInteractive(GoodsTable& table, const QString& path, UserDialogs& dialogs);
