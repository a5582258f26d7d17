#include "goods/GoodsSearch.h"

#include "device/DeviceCharset.h"
#include "goods/GoodsRecord.h"
#include "goods/GoodsTable.h"

bool GoodsRecordMatches(const GoodsRecord& record, const QString& text) {
    if (text.isEmpty()) return false;
    // Codes and barcodes are digits only; the name needs its letters decoded.
    return QLatin1String(record.code).contains(text, Qt::CaseInsensitive) ||
           QLatin1String(record.barcode).contains(text, Qt::CaseInsensitive) ||
           FromCp1251(record.name).contains(text, Qt::CaseInsensitive);
}

int FindGoodsRow(const GoodsTable& table, const QString& text, int from) {
    if (text.isEmpty()) return 0;
    if (from < 1 || from > GoodsRecordCount) from = 1;
    for (int step = 0; step < GoodsRecordCount; ++step) {
        const int row = (from - 1 + step) % GoodsRecordCount + 1;
        if (GoodsRecordMatches(table.record(row), text)) return row;
    }
    return 0;
}

int CountGoodsMatches(const GoodsTable& table, const QString& text) {
    if (text.isEmpty()) return 0;
    int count = 0;
    for (const GoodsRecord& record : table.records())
        if (GoodsRecordMatches(record, text)) ++count;
    return count;
}
