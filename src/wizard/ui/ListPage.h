#pragma once

#include <QStringList>
#include <QVector>

#include "wizard/PageTransfer.h"
#include "wizard/ui/WizardPage.h"

class GridPage;
class GridTextModel;
class QCheckBox;
class QPushButton;
struct DeviceText;

// The wizard's list pages (operators, services, additional requisites,
// clichés): a grid edited by double-click, "Выгрузить из АС" and "Загрузить
// в АС" through the page transfers, and, where the page has them, "Текущий"
// and "Очистить поля". Each page only says what it shows and edits.
class ListPage : public WizardPage, public PageView {
    Q_OBJECT
public:
    GridPage* grid = nullptr;
    GridTextModel* Cells = nullptr;
    QCheckBox* currentOnlyBox = nullptr;  // "Текущий"; none on the cliché page
    QPushButton* readButton = nullptr;    // "Выгрузить из АС"
    QPushButton* writeButton = nullptr;   // "Загрузить в АС"
    QPushButton* clearButton = nullptr;   // "Очистить поля"; none on the cliché page

    // The last selected cell, 1 and 1 at start.
    int CurrentRow() const;
    int CurrentCol() const;

    // What a page shows; its constructor passes it.
    struct Layout {
        QString heading;
        QStringList explanation;
        QStringList headers;
        QVector<int> widths;
        bool linesInRows = false;  // one row a line (cliché) instead of one row an item
        bool hasAccessColumn = true;
        bool hasCurrentBox = true;  // "Текущий" and "Очистить поля"
        bool monospace = false;
    };

    void gridDoubleClicked();
    void readClicked();
    void writeClicked();
    void clearClicked();

    // PageView
    void clearCells(int item, int line) override;
    void showAccess(int item) override;

protected:
    ListPage(WizardWindow* host, int index, QWidget* parent, const Layout& layout);

    // The transfer of what the page shows or edits now.
    virtual TransferPage transfer() = 0;
    virtual void editCell(int row, int col) = 0;
    // The grid takes the page's width; its columns fit their texts.
    void relayout() override;
    // The text of an item's line as the grid shows it.
    virtual QString cellText(const TransferPage& page, int item, int line) const;

    // Column widths, headers, numbers, texts and access of every item.
    void fillCells();
    // The line editor on a cell: the cell takes the text when applied, and
    // the stored line is rebuilt from the cell and "Широкий" either way.
    void editLineCell(DeviceText& stored, int row, int col);

    int column(int line) const;
    int row(int item, int line) const;
    // Bottom of the grid, for the controls under it.
    int gridBottom() const;

private:
    // Each column as wide as its header and cells need, at least as wide as
    // at the smallest page, the page's spare width shared out.
    void fitColumns();

    // "Текущий" ticked: the item of CurrentRow only; otherwise all of them.
    void runTransfer(void (*one)(const TransferPage&, int, PageView&),
                     void (*all)(const TransferPage&, PageView&));

    Layout layout_;
};

// The "да" / "нет" of the "Дост." column.
QString AccessWord(uint8_t access);
