#include "goods/GoodsTable.h"

#include "config/DeviceCharset.h"

namespace {

const QStringList& Headers() {
    static const QStringList headers = {
        QStringLiteral("№"),           QStringLiteral("Код товара"), QStringLiteral("Наименование"),
        QStringLiteral("Тип. шрифта"), QStringLiteral("Штрих-код"),  QStringLiteral("Секция"),
        QStringLiteral("Цена")};
    return headers;
}

bool IsDataRow(int row) {
    return row >= 1 && row <= GoodsRecordCount;
}

}  // namespace

QVector<int> GoodsColumnWidths() {
    return {20, 75, 250, 80, 100, 55, 85};
}

GoodsTable::GoodsTable(QObject* parent) : QAbstractTableModel(parent), records_(GoodsRecordCount) {}

const GoodsRecord& GoodsTable::record(int row) const {
    static const GoodsRecord blank;
    return IsDataRow(row) ? records_[row - 1] : blank;
}

void GoodsTable::setRecord(int row, const GoodsRecord& record) {
    if (!IsDataRow(row)) return;
    records_[row - 1] = record;
    rowsChanged(row, row);
}

void GoodsTable::setRecords(int first, const QVector<GoodsRecord>& records) {
    int row = first;
    for (const GoodsRecord& record : records) {
        if (!IsDataRow(row)) break;
        records_[row - 1] = record;
        ++row;
    }
    if (row > first) rowsChanged(first, row - 1);
}

QByteArray GoodsTable::cell(int column, int row) const {
    return record(row).cell(column);
}

void GoodsTable::setCell(int column, int row, const QByteArray& text) {
    if (!IsDataRow(row)) return;
    records_[row - 1].setCell(column, text);
    const QModelIndex changed = index(row - 1, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
}

void GoodsTable::clear() {
    for (GoodsRecord& record : records_) record = GoodsRecord();
    rowsChanged(1, GoodsRecordCount);
}

void GoodsTable::rowsChanged(int firstRow, int lastRow) {
    emit dataChanged(index(firstRow - 1, 0), index(lastRow - 1, GoodsColumnCount - 1),
                     {Qt::DisplayRole});
}

int GoodsTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : GoodsRecordCount;
}

int GoodsTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : GoodsColumnCount;
}

QVariant GoodsTable::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.column() == ColNumber) return {};
    const QByteArray text = records_[index.row()].cell(index.column());
    if (text.isEmpty()) return QString();
    return FromCp1251(text);
}

QVariant GoodsTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    return Headers().value(section);
}

Qt::ItemFlags GoodsTable::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    if (index.column() == ColNumber) return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
