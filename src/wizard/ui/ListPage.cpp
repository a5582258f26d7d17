#include "wizard/ui/ListPage.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "config/DeviceCharset.h"
#include "config/DeviceConfiguration.h"
#include "shell/DeviceOperation.h"
#include "shell/ui/GridPage.h"
#include "shell/ui/Guarded.h"
#include "wizard/DeviceLine.h"
#include "wizard/ui/LineEditorDialog.h"

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
    StringGrid1 = new GridPage(this);
    StringGrid1->setModel(Cells);
    StringGrid1->setRowHeight(RowHeight);
    if (layout.linesInRows) StringGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    if (layout.monospace) StringGrid1->setFont(CourierFont(13));
    StringGrid1->setColumnWidths(layout.widths);
    int width = 0;
    for (int w : layout.widths) width += w;
    const int frame = 2 * StringGrid1->frameWidth();
    // Header row and eight data rows, each with its grid line, fit without scrolling.
    const int height = RowHeight + 1 + DataRows * RowHeight + frame;
    StringGrid1->setGeometry(Margin, y + 4, width + frame + 1, height);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setDoubleClickHandler(Guarded([this] { StringGrid1DblClick(); }));

    const int controls = gridBottom() + 6;
    int x = Margin;
    if (layout.hasCurrentBox) {
        CheckBox1 = new QCheckBox(QStringLiteral("Текущий"), this);
        CheckBox1->setChecked(true);
        CheckBox1->setGeometry(x, controls, 80, ButtonHeight);
        StringGrid1->setCurrentCheckBox(CheckBox1);
        x += 84;
    }
    BitBtn1 = new QPushButton(QStringLiteral("Выгрузить из АС"), this);
    BitBtn1->setGeometry(x, controls, 118, ButtonHeight);
    BitBtn2 = new QPushButton(QStringLiteral("Загрузить в АС"), this);
    BitBtn2->setGeometry(x + 122, controls, 118, ButtonHeight);
    connect(BitBtn1, &QPushButton::clicked, this, Guarded([this] { BitBtn1Click(); }));
    connect(BitBtn2, &QPushButton::clicked, this, Guarded([this] { BitBtn2Click(); }));
    BitBtn1->setAutoDefault(false);
    BitBtn2->setAutoDefault(false);
    if (layout.hasCurrentBox) {
        BitBtn3 = new QPushButton(QStringLiteral("Очистить поля"), this);
        BitBtn3->setGeometry(x + 244, controls, 118, ButtonHeight);
        BitBtn3->setAutoDefault(false);
        connect(BitBtn3, &QPushButton::clicked, this, Guarded([this] { BitBtn3Click(); }));
    }
}

int ListPage::CurrentRow() const {
    return StringGrid1->CurrentRow();
}
int ListPage::CurrentCol() const {
    return StringGrid1->CurrentCol();
}

int ListPage::gridBottom() const {
    return StringGrid1->geometry().bottom();
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
    StringGrid1->setColumnWidths(layout_.widths);
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
    SharedLineEditor->Edit1->setText(Cells->cell(c, r));
    SharedLineEditor->CheckBox1->setChecked(IsWideLine(stored));
    SharedLineEditor->exec();
    if (SharedLineEditor->Accepted) Cells->setCell(c, r, SharedLineEditor->Edit1->text());
    StoreLine(stored, Cells->cell(c, r), SharedLineEditor->CheckBox1->isChecked());
}

void ListPage::StringGrid1DblClick() {
    editCell(CurrentRow(), CurrentCol());
}

void ListPage::BitBtn1Click() {
    runTransfer(ReadItem, ReadItems);
}

void ListPage::BitBtn2Click() {
    runTransfer(WriteItem, WriteItems);
}

void ListPage::runTransfer(void (*one)(const TransferPage&, int, PageView&),
                           void (*all)(const TransferPage&, PageView&)) {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    const TransferPage page = transfer();
    if (StringGrid1->currentOnly())
        one(page, CurrentRow() - 1, *this);
    else
        all(page, *this);
}

void ListPage::BitBtn3Click() {
    ClearItems(transfer(), *this);
}
