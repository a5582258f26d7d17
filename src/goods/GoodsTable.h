#pragma once

// The goods table behind the goods page's grid: 1001 records as the texts of
// their cells, shown as rows 1..1001 under the header row. It lives for the
// whole run; the page, the file and the transfers read and write it here.

#include <QAbstractTableModel>
#include <QVector>

#include "goods/GoodsRecord.h"

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

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void rowsChanged(int firstRow, int lastRow);

    QVector<GoodsRecord> records_;
};

// Column widths of the goods grid, column 0 first.
QVector<int> GoodsColumnWidths();
