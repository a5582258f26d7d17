#pragma once

#include <QWidget>

class GoodsTable;
class GridPage;
class QLabel;
class QLineEdit;

// "Поиск:" above the goods grid. Typing selects the first row from the
// selected one down whose code, name or barcode contains the text and scrolls
// it into view; Enter goes on to the next such row; Esc empties the field.
// Only the selection moves: every row stays in the grid, so what "Текущий",
// the editor and the transfers act on is always the row the user sees.
class GoodsSearchBar : public QWidget {
    Q_OBJECT
public:
    GoodsSearchBar(GoodsTable& table, GridPage& grid, QWidget* parent = nullptr);

    QLabel* label = nullptr;
    QLineEdit* field = nullptr;

    // The text matches no row (the field shows it).
    bool notFound() const { return notFound_; }

private:
    // Selects the first matching row from `from` on, round past the last row.
    void find(int from);
    void clear();
    void showFound(bool found);

    GoodsTable& table_;
    GridPage& grid_;
    bool notFound_ = false;
};
