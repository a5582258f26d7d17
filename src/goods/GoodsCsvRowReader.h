#pragma once

// One data row of an imported CSV file to a goods record, through the record
// editor's rules (GoodsRecordCheck): every fault of the row is reported with
// its line and column, and only a row without faults gives a record.

#include <array>

#include "goods/CsvReader.h"
#include "goods/GoodsCsv.h"

// For each table column (ColCode..ColPrice) the file's field, -1 for none.
using GoodsCsvFields = std::array<int, GoodsColumnCount>;

class GoodsCsvRowReader {
public:
    // Records and faults go into `import`, whose encoding decodes the fields;
    // the header has `headerFields` fields.
    GoodsCsvRowReader(GoodsCsvImport& import, const GoodsCsvFields& fieldOf, int headerFields);

    void read(const CsvRecord& record);

private:
    QString text(const CsvRecord& record, int column) const;
    void problem(int column, const QString& reason);
    void check(int column, const QString& reason);
    QByteArray code(const CsvRecord& record);
    bool wide(const CsvRecord& record);
    QByteArray price(const CsvRecord& record);

    GoodsCsvImport& import_;
    const GoodsCsvFields fieldOf_;
    const int headerFields_;
    // The line each code was first seen on, 0 for none yet.
    std::array<int, GoodsRecordCount> firstLineOfCode_{};
    int line_ = 0;
    int problemsInRow_ = 0;
};
