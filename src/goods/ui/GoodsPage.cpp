#include "goods/ui/GoodsPage.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "goods/GoodsCsv.h"
#include "goods/GoodsFile.h"
#include "goods/GoodsTable.h"
#include "goods/GoodsTableEdits.h"
#include "goods/GoodsTransfer.h"
#include "goods/ui/ChangedCodeDelegate.h"
#include "goods/ui/GoodsRecordEditor.h"
#include "goods/ui/GoodsSearchBar.h"
#include "goods/ui/GoodsUndo.h"
#include "shell/DeviceOperation.h"
#include "shell/Progress.h"
#include "shell/UnsentWork.h"
#include "shell/UserDialogs.h"
#include "shell/ui/FileDialogs.h"
#include "shell/ui/GridPage.h"
#include "shell/ui/Guarded.h"
#include "shell/ui/PageHost.h"
#include "shell/ui/UndoSteps.h"

namespace {

constexpr int PageWidth = 730;
constexpr int PageHeight = 440;
constexpr int GridFontPixels = 11;
// Between the page's rows and between its buttons.
constexpr int ControlSpacing = 4;

QString RunAndDelete(QFileDialog* dialog, FileKind kind) {
    const QString path = RunFileDialog(*dialog, kind);
    delete dialog;
    return path;
}

}  // namespace

GoodsPage::GoodsPage(QWidget* parent, PageHost* pageHost) : QFrame(parent), pageHost_(pageHost) {
    setMinimumSize(PageWidth, PageHeight);
    resize(PageWidth, PageHeight);
    table_ = new GoodsTable(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(ControlSpacing);

    auto* title = new QLabel(QStringLiteral("База товаров"), this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    title->setFont(titleFont);
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(title);
    titleRow->addStretch();
    layout->addLayout(titleRow);
    for (const QString& text :
         {QStringLiteral("Здесь Вы можете выгрузить имеющуюся базу товаров в ВАЛДЕ ВК-12, "
                         "отредактировать ее и загрузить обратно. Вы также можете"),
          QStringLiteral("сохранить данные в виде файла на жестком диске компьютера или "
                         "открыть уже имеющийся файл базы товаров.")}) {
        auto* line = new QLabel(text, this);
        QFont small = line->font();
        small.setPointSizeF(small.pointSizeF() * 0.85);
        line->setFont(small);
        layout->addWidget(line);
    }

    grid = new GridPage(this);
    grid->setModel(table_);
    grid->setColumnWidths(GoodsColumnWidths());
    // The column widths are the grid's own; a compact font lets a 13-digit
    // barcode and every header fit them.
    QFont gridFont = grid->font();
    gridFont.setPixelSize(GridFontPixels);
    grid->setFont(gridFont);
    grid->horizontalHeader()->setFont(gridFont);
    gridWidth_ = 2 * grid->frameWidth() + grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (int width : GoodsColumnWidths()) gridWidth_ += width;
    grid->setFixedWidth(gridWidth_);
    grid->setDoubleClickHandler(Guarded([this] { gridDoubleClicked(); }));
    body_ = new QBoxLayout(QBoxLayout::TopToBottom);
    body_->setSpacing(layout->spacing());
    body_->addWidget(grid, 1, Qt::AlignLeft);
    layout->addLayout(body_, 1);

    // In the title's row, so that the grid and everything under it stay where
    // they were; no taller than the title.
    searchBar = new GoodsSearchBar(*table_, *grid, this);
    searchBar->field->setFont(gridFont);
    searchBar->field->setFixedHeight(title->sizeHint().height());
    titleRow->addWidget(searchBar, 0, Qt::AlignRight | Qt::AlignVCenter);

    controls_ = new QWidget(this);
    body_->addWidget(controls_);

    auto* device = new QGroupBox(controls_);
    device_ = device;
    auto* deviceLayout = new QGridLayout(device);
    deviceLayout->setContentsMargins(6, 4, 6, 6);
    deviceLayout->setVerticalSpacing(4);
    currentOnlyBox = new QCheckBox(QStringLiteral("Текущий"), device);
    readButton = new QPushButton(QStringLiteral("Выгрузить из АС"), device);
    writeButton = new QPushButton(QStringLiteral("Загрузить в АС"), device);
    writeChangedButton = new QPushButton(QStringLiteral("Загрузить изменённые"), device);
    changedLabel = new QLabel(ChangedCountText(table_->changedCount()), device);
    changedLabel->setToolTip(
        QStringLiteral("Записи, которые могут отличаться от записей в АС (код выделен жирным)") +
        QStringLiteral(". Неизвестно: записи, которые не удалось прочитать из АС (\"%1\" в "
                       "столбце \"№\"), они не отправляются, пока их не изменят или не "
                       "прочитают снова")
            .arg(UnreadMark()));
    changedLabel->setMinimumWidth(
        changedLabel->fontMetrics().horizontalAdvance(ChangedCountText(GoodsRecordCount)));
    deviceLayout->addWidget(currentOnlyBox, 0, 0);
    deviceLayout->addWidget(changedLabel, 0, 1);
    deviceLayout->addWidget(readButton, 1, 0);
    deviceLayout->addWidget(writeButton, 1, 1);
    deviceLayout->addWidget(writeChangedButton, 2, 0, 1, 2);
    connect(table_, &GoodsTable::changedCountChanged, changedLabel, [this](int count) {
        changedLabel->setText(ChangedCountText(count, table_->unreadCount()));
    });
    // The code of a record that may differ from the device's copy is bold.
    grid->setItemDelegateForColumn(ColCode, new ChangedCodeDelegate(grid));
    grid->setCurrentCheckBox(currentOnlyBox);

    clearDeviceButton = new QPushButton(QStringLiteral("Очистить базу в АС"), controls_);
    clearButton = new QPushButton(QStringLiteral("Очистить поля"), controls_);
    saveFileButton = new QPushButton(QStringLiteral("Сохранить в файл"), controls_);
    loadFileButton = new QPushButton(QStringLiteral("Загрузить из файла"), controls_);
    exportCsvButton = new QPushButton(QStringLiteral("Экспорт в CSV..."), controls_);
    importCsvButton = new QPushButton(QStringLiteral("Импорт из CSV..."), controls_);
    exitButton = new QPushButton(QStringLiteral("Выход"), controls_);
    arrangeControls(true);
    besidePanelWidth_ = controls_->sizeHint().width();
    arrangeControls(false);
    // Esc is not "Очистить поля": a key that slips must never empty the table.
    buildUndo();
    buildRowMenu();
    grid->installEventFilter(this);

    connect(exitButton, &QPushButton::clicked, this, Guarded([this] { exitClicked(); }));
    connect(readButton, &QPushButton::clicked, this, Guarded([this] { readClicked(); }));
    connect(writeButton, &QPushButton::clicked, this, Guarded([this] { writeClicked(); }));
    connect(writeChangedButton, &QPushButton::clicked, this,
            Guarded([this] { writeChangedClicked(); }));
    connect(exportCsvButton, &QPushButton::clicked, this, Guarded([this] { exportCsvClicked(); }));
    connect(importCsvButton, &QPushButton::clicked, this, Guarded([this] { importCsvClicked(); }));
    connect(saveFileButton, &QPushButton::clicked, this, Guarded([this] { saveFileClicked(); }));
    connect(loadFileButton, &QPushButton::clicked, this, Guarded([this] { loadFileClicked(); }));
    connect(clearButton, &QPushButton::clicked, this, Guarded([this] { clearClicked(); }));
    connect(clearDeviceButton, &QPushButton::clicked, this,
            Guarded([this] { clearDeviceClicked(); }));
}

void GoodsPage::arrangeControls(bool beside) {
    delete controls_->layout();
    controlsBeside_ = beside;
    const QList<std::pair<QPushButton*, QPushButton*>> pairs = {{clearDeviceButton, clearButton},
                                                                {saveFileButton, loadFileButton},
                                                                {exportCsvButton, importCsvButton}};
    if (!beside) {
        // The smallest page: the buttons in pairs, one over the other, beside
        // the device box under the grid, "Выход" at the right.
        auto* row = new QHBoxLayout(controls_);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(ControlSpacing);
        row->addWidget(device_);
        for (const auto& [upper, lower] : pairs) {
            auto* column = new QVBoxLayout;
            column->addStretch();
            column->addWidget(upper);
            column->addWidget(lower);
            row->addLayout(column);
        }
        row->addStretch();
        auto* exitBox = new QVBoxLayout;
        exitBox->addStretch();
        exitBox->addWidget(exitButton);
        row->addLayout(exitBox);
        body_->setDirection(QBoxLayout::TopToBottom);
        return;
    }
    // A wide page: the same boxes in a column at the grid's right, so that the
    // grid has the whole height; the pairs side by side, "Выход" at the bottom.
    auto* column = new QVBoxLayout(controls_);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(ControlSpacing);
    column->addWidget(device_);
    for (const auto& [upper, lower] : pairs) {
        auto* row = new QHBoxLayout;
        row->addWidget(upper);
        row->addWidget(lower);
        column->addLayout(row);
    }
    column->addStretch();
    column->addWidget(exitButton, 0, Qt::AlignRight);
    body_->setDirection(QBoxLayout::LeftToRight);
}

void GoodsPage::buildUndo() {
    undoStack = new QUndoStack(this);
    // The search field keeps its own Ctrl+Z: a focused line edit takes the key first.
    const UndoActions actions = AddUndoActions(this, undoStack, Qt::WidgetWithChildrenShortcut);
    undoAction = actions.undo;
    redoAction = actions.redo;
}

void GoodsPage::buildRowMenu() {
    editAction = new QAction(QStringLiteral("Изменить"), this);
    editAction->setShortcut(QKeySequence(Qt::Key_F2));
    editAction->setShortcutContext(Qt::WidgetShortcut);  // the grid's filter takes the key
    clearRecordAction = new QAction(QStringLiteral("Очистить"), this);
    clearRecordAction->setShortcut(QKeySequence(QKeySequence::Delete));
    clearRecordAction->setShortcutContext(Qt::WidgetShortcut);
    connect(editAction, &QAction::triggered, this, Guarded([this] { gridDoubleClicked(); }));
    connect(clearRecordAction, &QAction::triggered, this,
            Guarded([this] { clearRecordClicked(); }));
    rowMenu = new QMenu(this);
    rowMenu->addAction(editAction);
    rowMenu->addAction(clearRecordAction);
    rowMenu->addSeparator();
    rowMenu->addAction(undoAction);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        // The menu acts on the row it was opened on, as a click there would.
        const QModelIndex index = grid->indexAt(pos);
        if (index.isValid() && index.column() > 0)
            grid->selectCell(index.row() + 1, index.column());
        rowMenu->popup(grid->viewport()->mapToGlobal(pos));
    });
}

bool GoodsPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched != grid || event->type() != QEvent::KeyPress)
        return QFrame::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier) {
        switch (key->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_F2:
                editAction->trigger();
                return true;
            case Qt::Key_Delete:
                clearRecordAction->trigger();
                return true;
            default:
                break;
        }
    }
    // A letter or a digit typed on the grid starts a search with it.
    const QString text = key->text();
    const bool typed = !text.isEmpty() && text.at(0).isPrint() && !text.at(0).isSpace() &&
                       (modifiers & ~Qt::ShiftModifier) == Qt::NoModifier;
    if (!typed) return QFrame::eventFilter(watched, event);
    searchBar->field->setFocus();
    QKeyEvent forwarded(QEvent::KeyPress, key->key(), key->modifiers(), text);
    QApplication::sendEvent(searchBar->field, &forwarded);
    return true;
}

bool GoodsPage::undoable(const QString& text, const std::function<bool()>& edit) {
    return RecordGoodsEdit(*undoStack, *table_, text, edit);
}

bool GoodsPage::mayReplaceUnsent(bool currentOnly, const QString& step) {
    const QString unsent =
        currentOnly ? UnsentGoodsText(*table_, CurrentRow()) : UnsentGoodsText(*table_);
    return ConfirmOverUnsentWork(Dialogs(), {unsent}, step);
}

QString GoodsPage::unsentChanges() const {
    return UnsentGoodsText(*table_);
}

void GoodsPage::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    // Beside the grid only when the column of controls fits there whole.
    bool beside = width() >= gridWidth_ + body_->spacing() + besidePanelWidth_;
    if (beside != controlsBeside_) arrangeControls(beside);
    if (beside && width() < gridWidth_ + body_->spacing() + controls_->sizeHint().width()) {
        beside = false;
        arrangeControls(false);
    }
    // The grid takes the page's extra width, or all the controls leave beside
    // it; its name column takes all of the grid's.
    int extra = std::max(0, width() - PageWidth);
    if (beside)
        extra =
            std::max(0, width() - controls_->sizeHint().width() - body_->spacing() - gridWidth_);
    grid->setFixedWidth(gridWidth_ + extra);
    grid->setColumnWidth(ColName, GoodsColumnWidths().at(ColName) + extra);
}

int GoodsPage::CurrentRow() const {
    return grid->CurrentRow();
}
int GoodsPage::CurrentCol() const {
    return grid->CurrentCol();
}

void GoodsPage::exitClicked() {
    if (!Dialogs().confirm(QStringLiteral("Вы действительно хотите выйти из загрузчика базы?")))
        return;
    if (pageHost_)
        pageHost_->ShowMainPage(nullptr);
    else
        hide();
}

void GoodsPage::readClicked() {
    const bool currentOnly = grid->currentOnly();
    if (!mayReplaceUnsent(currentOnly, StepReadFromDevice())) return;
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    // What the read replaced can be had back.
    undoable(readButton->text(), [&] {
        return currentOnly ? ReadCurrentGoods(*table_, CurrentRow(), CurrentProgress(), Dialogs())
                           : ReadAllGoods(*table_, CurrentProgress(), Dialogs());
    });
}

void GoodsPage::writeClicked() {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    if (grid->currentOnly())
        WriteCurrentGoods(*table_, CurrentRow(), CurrentProgress(), Dialogs());
    else if (ConfirmWholeGoodsWrite(*table_, Dialogs()))
        WriteAllGoods(*table_, CurrentProgress(), Dialogs());
}

void GoodsPage::writeChangedClicked() {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    WriteChangedGoods(*table_, CurrentProgress(), Dialogs());
}

void GoodsPage::clearDeviceClicked() {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    EraseDeviceGoods(*table_, CurrentProgress(), Dialogs());
}

QString GoodsPage::ChangedCountText(int count, int unread) {
    const QString changed = QStringLiteral("Изменено: %1").arg(count);
    // The box has no room beside "Текущий" for more: the unread count takes a
    // second line while there is one.
    return unread == 0 ? changed : changed + QStringLiteral("\nнеизвестно: %1").arg(unread);
}

QString GoodsPage::ClearFieldsQuestion() {
    return QStringLiteral("Очистить все поля таблицы товаров?");
}

void GoodsPage::clearClicked() {
    if (!Dialogs().confirmDefaultNo(ClearFieldsQuestion())) return;
    undoable(clearButton->text(), [this] {
        table_->clear();
        return true;
    });
}

void GoodsPage::clearRecordClicked() {
    const int row = CurrentRow();
    if (table_->record(row).isBlank()) return;
    undoable(QStringLiteral("Очистить: товар %1").arg(row - 1), [this, row] {
        table_->setRecord(row, GoodsRecord());
        return true;
    });
}

QFileDialog* GoodsPage::CreateSaveDialog(QWidget* parent) {
    auto* dialog = new QFileDialog(parent, QStringLiteral("Файлы базы данных"));
    StartInFolder(*dialog, FileKind::Goods);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setNameFilter(QStringLiteral("Базы (*.base)"));
    dialog->setDefaultSuffix(QStringLiteral("base"));
    dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
    return dialog;
}

QFileDialog* GoodsPage::CreateOpenDialog(QWidget* parent) {
    auto* dialog = new QFileDialog(parent);
    StartInFolder(*dialog, FileKind::Goods);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // Any typed name is taken: one that cannot be opened gets the page's own message.
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilter(QStringLiteral("Базыl (*.base)"));
    dialog->setDefaultSuffix(QStringLiteral("base"));
    return dialog;
}

QFileDialog* GoodsPage::CreateCsvExportDialog(QWidget* parent) {
    auto* dialog = new QFileDialog(parent, QStringLiteral("Экспорт в CSV"));
    StartInFolder(*dialog, FileKind::GoodsCsv);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setNameFilter(QStringLiteral("Таблицы CSV (*.csv)"));
    dialog->setDefaultSuffix(QStringLiteral("csv"));
    return dialog;
}

QFileDialog* GoodsPage::CreateCsvImportDialog(QWidget* parent) {
    auto* dialog = new QFileDialog(parent, QStringLiteral("Импорт из CSV"));
    StartInFolder(*dialog, FileKind::GoodsCsv);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // Any typed name is taken: one that cannot be read gets the import's own message.
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilter(QStringLiteral("Таблицы CSV (*.csv)"));
    dialog->setDefaultSuffix(QStringLiteral("csv"));
    return dialog;
}

void GoodsPage::exportCsvClicked() {
    ExportToCsv(RunAndDelete(CreateCsvExportDialog(this), FileKind::GoodsCsv));
}

void GoodsPage::importCsvClicked() {
    // A transfer that is running reads or fills the same table. No lock is
    // held while the file dialog is open, so that it takes every key.
    if (RefuseDuringDeviceOperation()) return;
    ImportFromCsv(RunAndDelete(CreateCsvImportDialog(this), FileKind::GoodsCsv));
}

void GoodsPage::ExportToCsv(const QString& path) {
    if (path.isEmpty()) return;
    ExportGoodsCsvInteractive(*table_, path, Dialogs());
}

void GoodsPage::ImportFromCsv(const QString& path) {
    if (path.isEmpty()) return;
    if (!mayReplaceUnsent(false, StepLoadFile())) return;
    undoable(importCsvButton->text(),
             [&] { return ImportGoodsCsvInteractive(*table_, path, Dialogs()); });
}

void GoodsPage::saveFileClicked() {
    SaveToFile(RunAndDelete(CreateSaveDialog(this), FileKind::Goods));
}

void GoodsPage::loadFileClicked() {
    // A transfer that is running reads or fills the same table. No lock is
    // held while the file dialog is open, so that it takes every key.
    if (RefuseDuringDeviceOperation()) return;
    LoadFromFile(RunAndDelete(CreateOpenDialog(this), FileKind::Goods));
}

void GoodsPage::SaveToFile(const QString& path) {
    if (path.isEmpty()) return;
    SaveGoodsFileInteractive(*table_, path);
}

void GoodsPage::LoadFromFile(const QString& path) {
    if (path.isEmpty()) return;
    if (!mayReplaceUnsent(false, StepLoadFile())) return;
    undoable(loadFileButton->text(), [&] {
        LoadGoodsFileInteractive(*table_, path);
        return true;
    });
}

void GoodsPage::gridDoubleClicked() {
    if (!SharedGoodsEditor) return;
    const int row = CurrentRow();
    GoodsRecord record = table_->record(row);
    if (!SharedGoodsEditor->Edit(record, row)) return;
    undoable(QStringLiteral("Изменить: товар %1").arg(row - 1), [&] {
        table_->setRecord(row, record);
        return true;
    });
}
