#pragma once

// Records of a CSV text, read by the library (libcsv, strict: quoted fields,
// doubled quotes, line breaks inside quotes, CRLF or LF), with the line each
// record starts on, so that a report can point the user at it.

#include <QByteArray>
#include <QList>
#include <functional>

struct CsvRecord {
    int line = 0;  // 1-based line of the file the record starts on
    QList<QByteArray> fields;
};

enum class CsvReadStatus {
    Ok,
    Stopped,        // the record handler asked to stop
    BadQuote,       // a quote where none may be; at `line`
    UnclosedQuote,  // a quoted field runs to the end of the file or too far
    OutOfMemory,
};

struct CsvReadOutcome {
    CsvReadStatus status = CsvReadStatus::Ok;
    int line = 0;        // where the reading ended with an error or the stop
    int recordLine = 0;  // the line the record in question starts on
};

// Reads `text` with `separator`, calling `onRecord` for every record in order
// (empty lines give none); it returns false to stop. A record that runs over
// more than `maxRecordLines` lines is taken for a quote that was never closed.
// Spaces around an unquoted field are dropped; tabs only when they do not
// separate.
CsvReadOutcome ReadCsv(const QByteArray& text, char separator,
                       const std::function<bool(const CsvRecord&)>& onRecord,
                       int maxRecordLines = 10);
