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

QString GoodsColumnTitle(int column) {
    return Headers().value(column);
}

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

QVector<int> GoodsTable::changedRows() const {
    QVector<int> rows = sync_.changedNumbers();
    for (int& row : rows) ++row;
    return rows;
}

void GoodsTable::markInStep(int row) {
    if (!IsDataRow(row)) return;
    const int before = changedCount();
    markChanged(row, sync_.inStep(row - 1, records_[row - 1]));
    announceCount(before);
}

void GoodsTable::markErased(int row) {
    if (!IsDataRow(row)) return;
    const int before = changedCount();
    markChanged(row, sync_.erased(row - 1, records_[row - 1]));
    announceCount(before);
}

void GoodsTable::markFailed(int row) {
    if (!IsDataRow(row)) return;
    const int before = changedCount();
    markChanged(row, sync_.failed(row - 1, records_[row - 1]));
    announceCount(before);
}

void GoodsTable::forgetDevice() {
    const int before = changedCount();
    sync_.forget(records_);
    emit dataChanged(index(0, ColCode), index(GoodsRecordCount - 1, ColCode), {GoodsChangedRole});
    announceCount(before);
}

void GoodsTable::markChanged(int row, bool flipped) {
    if (!flipped) return;
    const QModelIndex code = index(row - 1, ColCode);
    emit dataChanged(code, code, {GoodsChangedRole});
}

void GoodsTable::announceCount(int before) {
    if (changedCount() != before) emit changedCountChanged(changedCount());
}

QByteArray GoodsTable::cell(int column, int row) const {
    return record(row).cell(column);
}

void GoodsTable::setCell(int column, int row, const QByteArray& text) {
    if (!IsDataRow(row)) return;
    records_[row - 1].setCell(column, text);
    const QModelIndex changed = index(row - 1, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
    const int before = changedCount();
    markChanged(row, sync_.follow(row - 1, records_[row - 1]));
    announceCount(before);
}

void GoodsTable::clear() {
    for (GoodsRecord& record : records_) record = GoodsRecord();
    rowsChanged(1, GoodsRecordCount);
}

void GoodsTable::rowsChanged(int firstRow, int lastRow) {
    const int before = changedCount();
    for (int row = firstRow; row <= lastRow; ++row) sync_.follow(row - 1, records_[row - 1]);
    emit dataChanged(index(firstRow - 1, 0), index(lastRow - 1, GoodsColumnCount - 1),
                     {Qt::DisplayRole, GoodsChangedRole});
    announceCount(before);
}

int GoodsTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : GoodsRecordCount;
}

int GoodsTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : GoodsColumnCount;
}

QVariant GoodsTable::data(const QModelIndex& index, int role) const {
    if (role == GoodsChangedRole && index.isValid()) return sync_.isChanged(index.row());
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
