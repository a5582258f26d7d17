#pragma once

// The grid shared by the grid pages (operators, services, requisites, goods):
// a fixed header row and a fixed first column, whole-row selection, no editing
// in place (cells change only through a modal editor opened by a double
// click), and the row and column of the last selected cell, which the
// "Текущий" check box of the page turns into the one item a transfer works on.
//
// Coordinates are the grid's own: row 0 is the header row, rows 1..N are the
// model's rows 0..N-1; column 0 is the fixed column, which is model column 0.

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>
#include <QVector>
#include <functional>

class QAbstractButton;
class QCheckBox;

class GridPage : public QTableView {
    Q_OBJECT
public:
    explicit GridPage(QWidget* parent = nullptr);

    // Also marks the current cell (row 1, column 1 at start) the way a click
    // would, so that the row "Текущий" acts on is the one shown selected.
    void setModel(QAbstractItemModel* model) override;

    // The header texts come from the model's headerData (horizontal); the
    // widths of every column, the fixed one included, from here.
    void setColumnWidths(const QVector<int>& widths);
    // Default 18 pixels, like the header row.
    void setRowHeight(int pixels);

    // Row and column of the most recently selected data cell; 1 and 1 at start.
    int CurrentRow() const { return currentRow_; }
    int CurrentCol() const { return currentCol_; }
    // Selects a data cell as a click on it would (tests, keyboard-less callers).
    void selectCell(int row, int col);

    // Called on a double click on a data cell, after CurrentRow/CurrentCol
    // have followed the click. The fixed column and the header do not call it.
    void setDoubleClickHandler(std::function<void()> handler) {
        onDoubleClick_ = std::move(handler);
    }

    // The page's "Текущий" check box: ticked, the transfers work on the item of
    // CurrentRow only. The grid does not own it; a page without one works on
    // all items.
    void setCurrentCheckBox(QCheckBox* box) { currentBox_ = box; }
    bool currentOnly() const;
    // The item (0-based) of the selected row, i.e. CurrentRow - 1.
    int currentItem() const { return currentRow_ - 1; }

signals:
    void cellSelected(int row, int col);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    int currentRow_ = 1;
    int currentCol_ = 1;
    QCheckBox* currentBox_ = nullptr;
    std::function<void()> onDoubleClick_;
};

// A plain table of texts for the small grid pages: rows × columns of
// QString, headers from the column list. Cells(col, row) in grid coordinates
// (row 1 is the first data row) to read and write like the pages think of them.
class GridTextModel : public QAbstractTableModel {
    Q_OBJECT
public:
    GridTextModel(int dataRows, const QStringList& headers, QObject* parent = nullptr);

    QString cell(int col, int row) const;
    void setCell(int col, int row, const QString& text);
    // Empties columns first..last of every data row (one repaint).
    void clearColumns(int first, int last);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QStringList headers_;
    QVector<QStringList> rows_;
};

// Makes Esc anywhere on the page press the given button, the way a dialog's
// cancel button answers it.
void InstallEscapeButton(QWidget* page, QAbstractButton* button);
