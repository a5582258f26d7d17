#pragma once

// Goods rows as the goods tests build them.

#include <QVector>

#include "goods/GoodsTable.h"
#include "support/TestDevice.h"

// Windows-1251 bytes of a UTF-8 literal.
inline QByteArray W(const char* utf8) {
    return ToCp1251(U(utf8));
}

inline GoodsRecord Row(int code, const char* name, bool wide, const char* barcode,
                       const char* section, const char* price) {
    GoodsRecord row;
    row.code = QByteArray::number(code);
    row.name = W(name);
    row.font = wide ? WideFontText() : NarrowFontText();
    row.barcode = barcode;
    row.section = section;
    row.price = price;
    return row;
}

// A table with something in every row, to see what an operation overwrites.
inline void FillMarked(GoodsTable& table) {
    QVector<GoodsRecord> rows(GoodsRecordCount, Row(999, "СТАРОЕ", true, "42", "9", "9.99"));
    table.setRecords(1, rows);
}
