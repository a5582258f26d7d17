#include "wizard/ui/ListPage.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>

#include "config/DeviceConfiguration.h"
#include "config/ui/ConfigurationUndo.h"
#include "device/DeviceCharset.h"
#include "shell/ColumnFit.h"
#include "shell/DeviceOperation.h"
#include "shell/SuccessWatch.h"
#include "shell/ui/GridPage.h"
#include "shell/ui/Guarded.h"
#include "wizard/DeviceLine.h"
#include "wizard/ui/LineEditorDialog.h"
#include "wizard/ui/WizardWindow.h"

namespace {
constexpr int RowHeight = 18;
constexpr int DataRows = 8;
}  // namespace

QString AccessWord(uint8_t access) {
    return access ? QStringLiteral("да") : QStringLiteral("нет");
}

ListPage::ListPage(WizardWindow* host, int index, QWidget* parent, const Layout& layout)
    : WizardPage(host, index, parent), layout_(layout) {
    int y = addTextLines(layout.explanation, Margin, addHeading(layout.heading));

    Cells = new GridTextModel(DataRows, layout.headers, this);
    grid = new GridPage(this);
    grid->setModel(Cells);
    grid->setRowHeight(RowHeight);
    if (layout.linesInRows) grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    if (layout.monospace) grid->setFont(CourierFont(13));
    grid->setColumnWidths(layout.widths);
    int width = 0;
    for (int w : layout.widths) width += w;
    const int frame = 2 * grid->frameWidth();
    // Header row and eight data rows, each with its grid line, fit without scrolling.
    const int height = RowHeight + 1 + DataRows * RowHeight + frame;
    grid->setGeometry(Margin, y + 4, width + frame + 1, height);
    // Off at the smallest page, where the columns fit as they always did;
    // a line longer than its column's room scrolls rather than being cut.
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setDoubleClickHandler(Guarded([this] { gridDoubleClicked(); }));
    connect(Cells, &QAbstractItemModel::dataChanged, this, [this] { fitColumns(); });
    addUndo(grid);

    const int controls = gridBottom() + 6;
    int x = Margin;
    if (layout.hasCurrentBox) {
        currentOnlyBox = new QCheckBox(QStringLiteral("Текущий"), this);
        currentOnlyBox->setChecked(true);
        currentOnlyBox->setGeometry(x, controls, 80, ButtonHeight);
        grid->setCurrentCheckBox(currentOnlyBox);
        x += 84;
    }
    readButton = new QPushButton(QStringLiteral("Выгрузить из АС"), this);
    readButton->setGeometry(x, controls, 118, ButtonHeight);
    writeButton = new QPushButton(QStringLiteral("Загрузить в АС"), this);
    writeButton->setGeometry(x + 122, controls, 118, ButtonHeight);
    connect(readButton, &QPushButton::clicked, this, Guarded([this] { readClicked(); }));
    connect(writeButton, &QPushButton::clicked, this, Guarded([this] { writeClicked(); }));
    readButton->setAutoDefault(false);
    writeButton->setAutoDefault(false);
    if (layout.hasCurrentBox) {
        clearButton = new QPushButton(QStringLiteral("Очистить поля"), this);
        clearButton->setGeometry(x + 244, controls, 118, ButtonHeight);
        clearButton->setAutoDefault(false);
        connect(clearButton, &QPushButton::clicked, this, Guarded([this] { clearClicked(); }));
    }
}

void ListPage::relayout() {
    if (!grid) return;
    const int least = [this] {
        int sum = 0;
        for (int w : layout_.widths) sum += w;
        return sum + 2 * grid->frameWidth() + 1;
    }();
    QRect place = grid->geometry();
    place.setWidth(std::max(least, width() - 2 * Margin));
    grid->setGeometry(place);
    fitColumns();
}

void ListPage::fitColumns() {
    if (!grid) return;
    const QFontMetrics cells(grid->font());
    const QFontMetrics header(grid->horizontalHeader()->font());
    constexpr int Padding = 10;
    QVector<int> content(Cells->columnCount(), 0);
    for (int col = 0; col < Cells->columnCount(); ++col) {
        content[col] = header.horizontalAdvance(
                           Cells->headerData(col, Qt::Horizontal, Qt::DisplayRole).toString()) +
                       Padding;
        for (int row = 1; row <= Cells->rowCount(); ++row)
            content[col] =
                std::max(content[col], cells.horizontalAdvance(Cells->cell(col, row)) + Padding);
    }
    const int inside = grid->width() - 2 * grid->frameWidth() - 1;
    grid->setColumnWidths(FitColumnWidths(layout_.widths, content, inside));
}

int ListPage::CurrentRow() const {
    return grid->CurrentRow();
}
int ListPage::CurrentCol() const {
    return grid->CurrentCol();
}

int ListPage::gridBottom() const {
    return grid->geometry().bottom();
}

int ListPage::column(int line) const {
    return layout_.linesInRows ? 1 : line + 1;
}
int ListPage::row(int item, int line) const {
    return layout_.linesInRows ? line + 1 : item + 1;
}

QString ListPage::cellText(const TransferPage& page, int item, int line) const {
    const TextField f = page.field(item, line);
    return FromCp1251(FieldText(f.bytes + 1, f.size - 1));
}

void ListPage::fillCells() {
    const TransferPage page = transfer();
    for (int r = 1; r <= DataRows; ++r) Cells->setCell(0, r, QString::number(r));
    for (int item = 0; item < page.items; ++item) {
        for (int line = 0; line < page.lines; ++line)
            Cells->setCell(column(line), row(item, line), cellText(page, item, line));
        if (layout_.hasAccessColumn && page.access)
            Cells->setCell(int(layout_.headers.size()) - 1, item + 1,
                           AccessWord(*page.access(item)));
    }
}

void ListPage::clearCells(int item, int line) {
    if (line >= 0) {
        Cells->setCell(column(line), row(item, line), QString());
        return;
    }
    const TransferPage page = transfer();
    for (int l = 0; l < page.lines; ++l) Cells->setCell(column(l), row(item, l), QString());
}

void ListPage::showAccess(int item) {
    const TransferPage page = transfer();
    if (!layout_.hasAccessColumn || !page.access) return;
    Cells->setCell(int(layout_.headers.size()) - 1, item + 1, AccessWord(*page.access(item)));
}

void ListPage::editLineCell(DeviceText& stored, int r, int c) {
    if (!SharedLineEditor) return;
    SharedLineEditor->field->setText(Cells->cell(c, r));
    SharedLineEditor->wideBox->setChecked(IsWideLine(stored));
    SharedLineEditor->exec();
    if (SharedLineEditor->Accepted) Cells->setCell(c, r, SharedLineEditor->field->text());
    StoreLine(stored, Cells->cell(c, r), SharedLineEditor->wideBox->isChecked());
}

void ListPage::gridDoubleClicked() {
    const int r = CurrentRow();
    const int c = CurrentCol();
    recordEdit(EditStepText(), [&] { editCell(r, c); });
}

void ListPage::readClicked() {
    runTransfer(ReadItem, ReadItems);
}

void ListPage::writeClicked() {
    runTransfer(WriteItem, WriteItems);
}

void ListPage::runTransfer(void (*one)(const TransferPage&, int, PageView&),
                           void (*all)(const TransferPage&, PageView&)) {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    const TransferPage page = transfer();
    if (grid->currentOnly()) {
        one(page, CurrentRow() - 1, *this);
        return;
    }
    // A whole page that went without a failure is in the device now.
    SuccessWatch watch;
    all(page, *this);
    if (!watch.succeeded() || !host_) return;
    if (all == WriteItems)
        host_->writes().written(SectionOf(page), CurrentConfiguration());
    else
        host_->writes().read(SectionOf(page), CurrentConfiguration());
}

void ListPage::clearClicked() {
    recordEdit(clearButton ? clearButton->text() : QString(),
               [this] { ClearItems(transfer(), *this); });
}
