#include "goods/GoodsTable.h"

#include "device/DeviceCharset.h"

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

QString UnreadMark() {
    return QStringLiteral("?");
}

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
    const int changed = changedCount(), unread = unreadCount();
    markChanged(row, sync_.inStep(row - 1, records_[row - 1]));
    announceCount(changed, unread);
}

void GoodsTable::markErased(int row) {
    if (!IsDataRow(row)) return;
    const int changed = changedCount(), unread = unreadCount();
    markChanged(row, sync_.erased(row - 1, records_[row - 1]));
    announceCount(changed, unread);
}

void GoodsTable::markWriteFailed(int row) {
    if (!IsDataRow(row)) return;
    const int changed = changedCount(), unread = unreadCount();
    markChanged(row, sync_.writeFailed(row - 1, records_[row - 1]));
    announceCount(changed, unread);
}

void GoodsTable::markReadFailed(int row) {
    if (!IsDataRow(row)) return;
    const int changed = changedCount(), unread = unreadCount();
    markChanged(row, sync_.readFailed(row - 1, records_[row - 1]));
    announceCount(changed, unread);
}

void GoodsTable::forgetDevice() {
    const int changed = changedCount(), unread = unreadCount();
    sync_.forget(records_);
    emit dataChanged(index(0, ColNumber), index(GoodsRecordCount - 1, ColCode),
                     {Qt::DisplayRole, Qt::ToolTipRole, GoodsChangedRole});
    announceCount(changed, unread);
}

void GoodsTable::followConnection(const PortSettings& settings) {
    if (settings.PortName == port_ && settings.BaudRate == speed_ &&
        settings.MachineNumber == number_)
        return;
    port_ = settings.PortName;
    speed_ = settings.BaudRate;
    number_ = settings.MachineNumber;
    forgetDevice();
}

void GoodsTable::markChanged(int row, bool flipped) {
    if (!flipped) return;
    emit dataChanged(index(row - 1, ColNumber), index(row - 1, ColCode),
                     {Qt::DisplayRole, Qt::ToolTipRole, GoodsChangedRole});
}

void GoodsTable::announceCount(int changedBefore, int unreadBefore) {
    if (changedCount() != changedBefore || unreadCount() != unreadBefore)
        emit changedCountChanged(changedCount());
}

QByteArray GoodsTable::cell(int column, int row) const {
    return record(row).cell(column);
}

void GoodsTable::setCell(int column, int row, const QByteArray& text) {
    if (!IsDataRow(row)) return;
    records_[row - 1].setCell(column, text);
    const QModelIndex changed = index(row - 1, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
    const int changedBefore = changedCount(), unreadBefore = unreadCount();
    markChanged(row, sync_.follow(row - 1, records_[row - 1]));
    announceCount(changedBefore, unreadBefore);
}

void GoodsTable::clear() {
    for (GoodsRecord& record : records_) record = GoodsRecord();
    rowsChanged(1, GoodsRecordCount);
}

void GoodsTable::rowsChanged(int firstRow, int lastRow) {
    const int changedBefore = changedCount(), unreadBefore = unreadCount();
    for (int row = firstRow; row <= lastRow; ++row) sync_.follow(row - 1, records_[row - 1]);
    emit dataChanged(index(firstRow - 1, 0), index(lastRow - 1, GoodsColumnCount - 1),
                     {Qt::DisplayRole, Qt::ToolTipRole, GoodsChangedRole});
    announceCount(changedBefore, unreadBefore);
}

int GoodsTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : GoodsRecordCount;
}

int GoodsTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : GoodsColumnCount;
}

QVariant GoodsTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == GoodsChangedRole) return sync_.isChanged(index.row());
    if (index.column() == ColNumber) {
        if (!sync_.isUnread(index.row())) return {};
        if (role == Qt::DisplayRole) return UnreadMark();
        if (role == Qt::ToolTipRole)
            return QStringLiteral(
                "Запись не удалось прочитать из АС: она не отправляется, "
                "пока её не изменят или не прочитают снова");
        return {};
    }
    if (role != Qt::DisplayRole) return {};
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
