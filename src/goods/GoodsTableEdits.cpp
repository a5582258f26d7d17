#include "goods/GoodsTableEdits.h"

#include <algorithm>

#include "goods/GoodsTable.h"

namespace {

// Enough numbers to find them in the grid; the rest are counted.
constexpr int NamedRecords = 5;

// A row's record number is the one the transfers name it by.
int RecordNumber(int row) {
    return row - 1;
}

QString NameRows(const QVector<int>& rows) {
    if (rows.isEmpty()) return {};
    QStringList numbers;
    for (int i = 0; i < rows.size() && i < NamedRecords; ++i)
        numbers << QString::number(RecordNumber(rows[i]));
    QString text = (rows.size() == 1 ? QStringLiteral("товар ") : QStringLiteral("товары ")) +
                   numbers.join(QStringLiteral(", "));
    if (rows.size() > NamedRecords)
        text += QStringLiteral(" и ещё %1").arg(rows.size() - NamedRecords);
    return text;
}

}  // namespace

GoodsChangeRecorder::GoodsChangeRecorder(const GoodsTable& table) : start_(table.records()) {}

GoodsTableChange GoodsChangeRecorder::finish(const GoodsTable& table) const {
    const QVector<GoodsRecord>& now = table.records();
    GoodsTableChange change;
    const int size = int(std::min(start_.size(), now.size()));
    int first = 0;
    while (first < size && start_[first] == now[first]) ++first;
    if (first == size) return change;
    int last = size - 1;
    while (last > first && start_[last] == now[last]) --last;
    change.firstRow = first + 1;
    change.before = start_.mid(first, last - first + 1);
    change.after = now.mid(first, last - first + 1);
    return change;
}

void RestoreBefore(GoodsTable& table, const GoodsTableChange& change) {
    if (!change.isEmpty()) table.setRecords(change.firstRow, change.before);
}

void RestoreAfter(GoodsTable& table, const GoodsTableChange& change) {
    if (!change.isEmpty()) table.setRecords(change.firstRow, change.after);
}

QString UnsentGoodsText(const GoodsTable& table) {
    return NameRows(table.changedRows());
}

QString UnsentGoodsText(const GoodsTable& table, int row) {
    return table.isChanged(row) ? NameRows({row}) : QString();
}
