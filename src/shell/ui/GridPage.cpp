#include "shell/ui/GridPage.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QStyledItemDelegate>

namespace {

constexpr int DefaultRowHeight = 18;
constexpr int TextMargin = 2;

// The fixed column is drawn like the header row and never shows a selection.
class FixedColumnDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->save();
        painter->fillRect(option.rect, option.palette.button());
        painter->setPen(option.palette.color(QPalette::ButtonText));
        painter->drawText(option.rect.adjusted(TextMargin, 0, -TextMargin, 0),
                          Qt::AlignLeft | Qt::AlignVCenter, index.data().toString());
        painter->restore();
    }
};

}  // namespace

GridPage::GridPage(QWidget* parent) : QTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTextElideMode(Qt::ElideNone);
    setItemDelegateForColumn(0, new FixedColumnDelegate(this));

    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* columns = horizontalHeader();
    columns->setSectionsClickable(false);
    columns->setHighlightSections(false);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columns->setMinimumSectionSize(4);
    setRowHeight(DefaultRowHeight);
}

void GridPage::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    selectCell(currentRow_, currentCol_);
}

void GridPage::setColumnWidths(const QVector<int>& widths) {
    for (int col = 0; col < widths.size(); ++col) setColumnWidth(col, widths[col]);
}

void GridPage::setRowHeight(int pixels) {
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(pixels);
    horizontalHeader()->setFixedHeight(pixels + 1);
}

bool GridPage::currentOnly() const {
    return currentBox_ && currentBox_->isChecked();
}

void GridPage::selectCell(int row, int col) {
    if (!model() || row < 1 || col < 1) return;
    const QModelIndex index = model()->index(row - 1, col);
    if (!index.isValid()) return;
    setCurrentIndex(index);
}

// The fixed column cannot be selected: clicks on it change nothing.
void GridPage::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && index.column() == 0) {
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void GridPage::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid() || index.column() == 0) {
        event->accept();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
    if (onDoubleClick_) onDoubleClick_();
}

QModelIndex GridPage::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    QModelIndex index = QTableView::moveCursor(action, modifiers);
    if (index.isValid() && index.column() == 0 && model() && model()->columnCount() > 1)
        index = model()->index(index.row(), 1);
    return index;
}

void GridPage::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (!current.isValid() || current.column() == 0) return;
    currentRow_ = current.row() + 1;
    currentCol_ = current.column();
    emit cellSelected(currentRow_, currentCol_);
}

// ---- GridTextModel ------------------------------------------------------------

GridTextModel::GridTextModel(int dataRows, const QStringList& headers, QObject* parent)
    : QAbstractTableModel(parent), headers_(headers) {
    rows_.fill(QStringList(headers.size(), QString()), dataRows);
}

QString GridTextModel::cell(int col, int row) const {
    if (row < 1 || row > rows_.size() || col < 0 || col >= headers_.size()) return {};
    return rows_[row - 1][col];
}

void GridTextModel::setCell(int col, int row, const QString& text) {
    if (row < 1 || row > rows_.size() || col < 0 || col >= headers_.size()) return;
    QString& target = rows_[row - 1][col];
    if (target == text) return;
    target = text;
    const QModelIndex changed = index(row - 1, col);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
}

void GridTextModel::clearColumns(int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, int(headers_.size()) - 1);
    if (rows_.isEmpty() || first > last) return;
    for (QStringList& row : rows_)
        for (int col = first; col <= last; ++col) row[col].clear();
    emit dataChanged(index(0, first), index(int(rows_.size()) - 1, last), {Qt::DisplayRole});
}

int GridTextModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int GridTextModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(headers_.size());
}

QVariant GridTextModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return rows_[index.row()][index.column()];
}

QVariant GridTextModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    return headers_.value(section);
}

Qt::ItemFlags GridTextModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    if (index.column() == 0) return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

// ---- Esc ----------------------------------------------------------------------

void InstallEscapeButton(QWidget* page, QAbstractButton* button) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_Escape), page);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(shortcut, &QShortcut::activated, button, [button] {
        if (button->isVisible() && button->isEnabled()) button->click();
    });
}
