#pragma once

// The goods table's edits as data: what a change replaced, so that it can be
// taken back and done again, and what the table holds that the device does
// not, so that nothing replaces it without a question. The widgets wire these
// to an undo stack and to the page's questions.

#include <QString>
#include <QVector>

#include "goods/GoodsRecord.h"

class GoodsTable;

// Table rows first.. first + before.size() - 1 as they were and as they became.
struct GoodsTableChange {
    int firstRow = 0;
    QVector<GoodsRecord> before;
    QVector<GoodsRecord> after;

    bool isEmpty() const { return before.isEmpty(); }
};

// Takes the table as it is now; `finish` gives the rows that differ since.
class GoodsChangeRecorder {
public:
    explicit GoodsChangeRecorder(const GoodsTable& table);
    GoodsTableChange finish(const GoodsTable& table) const;

private:
    QVector<GoodsRecord> start_;
};

// Puts the rows back as they were (undo) or as they became (redo).
void RestoreBefore(GoodsTable& table, const GoodsTableChange& change);
void RestoreAfter(GoodsTable& table, const GoodsTableChange& change);

// What the table holds that the device does not ("товары 2, 6, 17 и ещё 3"),
// empty when nothing. With `row` only that row counts.
QString UnsentGoodsText(const GoodsTable& table);
QString UnsentGoodsText(const GoodsTable& table, int row);
