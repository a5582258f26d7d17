#pragma once

// The goods table behind the goods page's grid: 1001 records as the texts of
// their cells, shown as rows 1..1001 under the header row. It lives for the
// whole run; the page, the file and the transfers read and write it here.
// It also keeps which records may differ from the device (GoodsSync): every
// change of a record, from wherever, is weighed against the device's copy.

#include <QAbstractTableModel>
#include <QVector>

#include "device/PortSettings.h"
#include "goods/GoodsRecord.h"
#include "goods/GoodsSync.h"

// Data role of every cell: true in a row whose record may differ from the
// device's copy (the grid shows its code in bold).
constexpr int GoodsChangedRole = Qt::UserRole + 1;
// The "№" cell of a row whose read failed (GoodsSync: unread).
QString UnreadMark();

class GoodsTable : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GoodsTable(QObject* parent = nullptr);

    // Table rows 1..1001 (record n is row n + 1); other rows read as blank.
    const GoodsRecord& record(int row) const;
    void setRecord(int row, const GoodsRecord& record);
    // Rows first, first + 1, ... from the list, with one repaint.
    void setRecords(int first, const QVector<GoodsRecord>& records);
    const QVector<GoodsRecord>& records() const { return records_; }

    // Cells[col][row] as the grid pages address them.
    QByteArray cell(int column, int row) const;
    void setCell(int column, int row, const QByteArray& text);

    // "Очистить поля": every data row blank.
    void clear();

    // Outcomes of the exchanges for table row `row`, and a change of the
    // connection settings (see GoodsSync).
    void markInStep(int row);
    void markErased(int row);
    void markWriteFailed(int row);
    void markReadFailed(int row);
    void forgetDevice();
    // Forgets the device's copy only when the settings address another
    // device (port, speed or factory number) than the last ones did.
    void followConnection(const PortSettings& settings);
    bool isChanged(int row) const { return sync_.isChanged(row - 1); }
    bool isUnread(int row) const { return sync_.isUnread(row - 1); }
    int changedCount() const { return sync_.changedCount(); }
    int unreadCount() const { return sync_.unreadCount(); }
    int unsentBlankCount() const { return sync_.unsentBlankCount(records_); }
    // Table rows in ascending order.
    QVector<int> changedRows() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // The changed or the unread count moved.
    void changedCountChanged(int count);

private:
    void rowsChanged(int firstRow, int lastRow);
    // Repaints the mark of a row whose changed state flipped.
    void markChanged(int row, bool flipped);
    void announceCount(int changedBefore, int unreadBefore);

    QVector<GoodsRecord> records_;
    GoodsSync sync_;
    QString port_;
    int speed_ = 0;
    QByteArray number_;
};

// Column widths of the goods grid, column 0 first.
QVector<int> GoodsColumnWidths();
// The grid's header text of a column ("Код товара" for ColCode...).
QString GoodsColumnTitle(int column);
