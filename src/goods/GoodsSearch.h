#pragma once

// Finding goods by what the user remembers of them: a part of the code, the
// name or the barcode, in any letter case (Cyrillic too).

#include <QString>

class GoodsTable;
struct GoodsRecord;

// True when the code, the name or the barcode contains `text`, case-insensitively.
// An empty text matches nothing.
bool GoodsRecordMatches(const GoodsRecord& record, const QString& text);

// The first table row (1..1001) that matches, looking at `from` first and then
// downwards, past the last row round to the first; 0 when no row matches.
int FindGoodsRow(const GoodsTable& table, const QString& text, int from);

// How many rows match.
int CountGoodsMatches(const GoodsTable& table, const QString& text);
