#include "goods/CsvReader.h"

#include <csv.h>

#include <cstring>

namespace {

// Only the space is trimmed: a tab may be the separator.
int IsSpace(unsigned char c) {
    return c == ' ' ? 1 : 0;
}

// The parser's state between the library's calls.
struct Reading {
    const std::function<bool(const CsvRecord&)>* onRecord = nullptr;
    CsvRecord record;
    int line = 0;              // the line being fed
    int recordLine = 0;        // the line the current record starts on
    bool recordEnded = false;  // a record ended while the current line was fed
    bool stop = false;
};

void OnField(void* data, size_t size, void* context) {
    auto* reading = static_cast<Reading*>(context);
    if (reading->stop) return;
    reading->record.fields.append(QByteArray(static_cast<const char*>(data), int(size)));
}

void OnRecordEnd(int, void* context) {
    auto* reading = static_cast<Reading*>(context);
    reading->recordEnded = true;
    if (reading->stop) return;
    reading->record.line = reading->recordLine;
    if (!(*reading->onRecord)(reading->record)) reading->stop = true;
    reading->record = CsvRecord();
    // A further record on the same line (lines ended by CR alone) starts here.
    reading->recordLine = reading->line;
}

// Something besides line ends and spaces: the start of a record.
bool HasContent(const char* begin, const char* end) {
    for (const char* p = begin; p < end; ++p)
        if (*p != '\r' && *p != '\n' && *p != ' ' && *p != '\t') return true;
    return false;
}

class Parser {
public:
    Parser() : ok_(csv_init(&parser_, CSV_STRICT | CSV_STRICT_FINI) == 0) {}
    ~Parser() {
        if (ok_) csv_free(&parser_);
    }
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;
    bool ok() const { return ok_; }
    csv_parser* get() { return &parser_; }

private:
    csv_parser parser_{};
    bool ok_ = false;
};

CsvReadStatus StatusOf(int error) {
    return error == CSV_EPARSE ? CsvReadStatus::BadQuote : CsvReadStatus::OutOfMemory;
}

}  // namespace

CsvReadOutcome ReadCsv(const QByteArray& text, char separator,
                       const std::function<bool(const CsvRecord&)>& onRecord, int maxRecordLines) {
    CsvReadOutcome outcome;
    Parser parser;
    if (!parser.ok()) {
        outcome.status = CsvReadStatus::OutOfMemory;
        return outcome;
    }
    csv_set_delim(parser.get(), static_cast<unsigned char>(separator));
    csv_set_space_func(parser.get(), IsSpace);

    Reading reading;
    reading.onRecord = &onRecord;
    // Fed one line at a time, so that every record knows its first line: a
    // line that ends without ending a record continues it (a line break in
    // quotes).
    bool inRecord = false;
    const char* p = text.constData();
    const char* const end = p + text.size();
    while (p < end && !reading.stop) {
        const char* lineEnd = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
        lineEnd = lineEnd ? lineEnd + 1 : end;
        ++reading.line;
        const bool content = HasContent(p, lineEnd);
        if (!inRecord) reading.recordLine = reading.line;
        reading.recordEnded = false;
        const size_t size = size_t(lineEnd - p);
        if (csv_parse(parser.get(), p, size, OnField, OnRecordEnd, &reading) != size) {
            outcome.status = StatusOf(csv_error(parser.get()));
            outcome.line = reading.line;
            outcome.recordLine = reading.recordLine;
            return outcome;
        }
        inRecord = inRecord ? !reading.recordEnded : (content && !reading.recordEnded);
        if (inRecord && reading.line - reading.recordLine + 1 > maxRecordLines) {
            outcome.status = CsvReadStatus::UnclosedQuote;
            outcome.line = reading.line;
            outcome.recordLine = reading.recordLine;
            return outcome;
        }
        p = lineEnd;
    }
    if (reading.stop) {
        outcome.status = CsvReadStatus::Stopped;
        outcome.line = reading.line;
        outcome.recordLine = reading.recordLine;
        return outcome;
    }
    // The last record may end without a line break; a quote still open here
    // was never closed.
    if (csv_fini(parser.get(), OnField, OnRecordEnd, &reading) != 0) {
        outcome.status = CsvReadStatus::UnclosedQuote;
        outcome.line = reading.line;
        outcome.recordLine = reading.recordLine;
        return outcome;
    }
    outcome.status = reading.stop ? CsvReadStatus::Stopped : CsvReadStatus::Ok;
    outcome.line = reading.line;
    outcome.recordLine = reading.recordLine;
    return outcome;
}
