#include "device/ui/ExchangeLogWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "device/ExchangeLog.h"
#include "device/ExchangeLogText.h"
#include "device/ui/ExchangeLogModel.h"
#include "shell/UserDialogs.h"
#include "shell/ui/FileDialogs.h"
#include "shell/ui/Guarded.h"

ExchangeLogWindow* SharedExchangeLogWindow = nullptr;

void ShowExchangeLogWindow() {
    if (SharedExchangeLogWindow) SharedExchangeLogWindow->showAndRaise();
}

namespace {

// Widths in characters of the fixed-pitch columns; a hex column fits a whole
// frame of the longest command.
int ColumnWidth(const QFontMetrics& text, const QFontMetrics& hex, int column) {
    switch (column) {
        case ExchangeLogModel::NumberColumn:
            return text.horizontalAdvance(QStringLiteral("000000"));
        case ExchangeLogModel::TimeColumn:
            return text.horizontalAdvance(QStringLiteral("00:00:00.000__"));
        case ExchangeLogModel::PortColumn:
            return text.horizontalAdvance(QStringLiteral("/dev/ttyUSB0__"));
        case ExchangeLogModel::SpeedColumn:
            return text.horizontalAdvance(QStringLiteral("Скорость__"));
        case ExchangeLogModel::CommandColumn:
            return text.horizontalAdvance(QStringLiteral("Состояние__"));
        case ExchangeLogModel::ModeColumn:
            return text.horizontalAdvance(QStringLiteral("чтение__"));
        case ExchangeLogModel::AddressColumn:
            return text.horizontalAdvance(QStringLiteral("группа 0, № 8, строка 3_"));
        case ExchangeLogModel::RequestColumn:
            return hex.horizontalAdvance(QString(LongestRequestLength * 3 + 1, QLatin1Char('0')));
        case ExchangeLogModel::AnswerColumn:
            return hex.horizontalAdvance(QString(LongestAnswerLength * 3 + 1, QLatin1Char('0')));
        case ExchangeLogModel::DurationColumn:
            return text.horizontalAdvance(QStringLiteral("0000.00__"));
        case ExchangeLogModel::StatusColumn:
            return text.horizontalAdvance(
                QStringLiteral("1 Нет ответа или не удалось открыть порт.__"));
        default:
            return text.horizontalAdvance(QStringLiteral("00 Не совпал заводской номер.__"));
    }
}

}  // namespace

ExchangeLogWindow::ExchangeLogWindow(ExchangeLog& log, QWidget* parent)
    : QWidget(parent, Qt::Window), log_(log) {
    setWindowTitle(QStringLiteral("Журнал обмена"));
    // An open log window does not keep the program running once the main window closes.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(1100, 520);

    model_ = new ExchangeLogModel(log_, this);
    onlyFailures = new QCheckBox(QStringLiteral("Только ошибки"), this);
    counts = new QLabel(this);
    table = new QTableView(this);
    table->setModel(model_);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(false);
    table->setCornerButtonEnabled(false);
    table->verticalHeader()->hide();
    // Fixed row heights and column widths: the view never measures 20 000 rows.
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const QFontMetrics hex(ExchangeLogModel::hexFont());
    for (int c = 0; c < ExchangeLogModel::ColumnCount; ++c)
        table->setColumnWidth(c, ColumnWidth(table->fontMetrics(), hex, c));

    copyButton = new QPushButton(QStringLiteral("Копировать"), this);
    saveButton = new QPushButton(QStringLiteral("Сохранить журнал..."), this);
    clearButton = new QPushButton(QStringLiteral("Очистить"), this);
    auto* close = new QPushButton(QStringLiteral("Закрыть"), this);

    auto* top = new QHBoxLayout;
    top->addWidget(onlyFailures);
    top->addStretch();
    top->addWidget(counts);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(copyButton);
    bottom->addWidget(saveButton);
    bottom->addWidget(clearButton);
    bottom->addStretch();
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table, 1);
    layout->addLayout(bottom);

    connect(onlyFailures, &QCheckBox::toggled, this, Guarded([this] {
                model_->setOnlyFailures(onlyFailures->isChecked());
                table->scrollToBottom();
                showCounts();
            }));
    connect(copyButton, &QPushButton::clicked, this, Guarded([this] { copySelectedRows(); }));
    connect(saveButton, &QPushButton::clicked, this, Guarded([this] { saveClicked(); }));
    connect(clearButton, &QPushButton::clicked, this, Guarded([this] { clearClicked(); }));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* copyKey = new QShortcut(QKeySequence::Copy, table);
    copyKey->setContext(Qt::WidgetShortcut);
    connect(copyKey, &QShortcut::activated, this, Guarded([this] { copySelectedRows(); }));

    timer_.setInterval(RefreshIntervalMs);
    // The refresh is the window's own, not the user's: it only reads the log
    // and goes on while an exchange runs (a question asked under the device
    // lock, such as the ИНН's, must not meet "Идёт обмен с АС").
    connect(&timer_, &QTimer::timeout, this, Reported([this] { refresh(); }));
    showCounts();
}

void ExchangeLogWindow::showAndRaise() {
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void ExchangeLogWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
    fitColumns();
    // Every opening starts at the first columns, which say what each row is;
    // the hex frames are to the right.
    table->horizontalScrollBar()->setValue(0);
    timer_.start();
}

void ExchangeLogWindow::fitColumns() {
    // The text columns take the width of what the rows on screen hold (the
    // view measures only those); the hex columns keep room for a whole frame.
    if (model_->rowCount() == 0) return;
    for (int c = 0; c < ExchangeLogModel::ColumnCount; ++c) {
        if (c == ExchangeLogModel::RequestColumn || c == ExchangeLogModel::AnswerColumn) continue;
        table->resizeColumnToContents(c);
    }
}

void ExchangeLogWindow::hideEvent(QHideEvent* event) {
    timer_.stop();
    QWidget::hideEvent(event);
}

void ExchangeLogWindow::refresh() {
    const QScrollBar* bar = table->verticalScrollBar();
    const bool atEnd = bar->value() >= bar->maximum();
    const bool wasEmpty = model_->rowCount() == 0;
    if (!model_->refresh()) return;
    if (atEnd) table->scrollToBottom();
    if (wasEmpty) fitColumns();
    showCounts();
}

void ExchangeLogWindow::showCounts() {
    QString text = QStringLiteral("Обменов: %1").arg(log_.size());
    if (model_->onlyFailures()) text += QStringLiteral(", с ошибкой: %1").arg(model_->rowCount());
    if (log_.dropped() > 0)
        text += QStringLiteral(", отброшено более старых: %1").arg(log_.dropped());
    counts->setText(text);
}

void ExchangeLogWindow::copySelectedRows() {
    QModelIndexList selected = table->selectionModel()->selectedRows();
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<const ExchangeRecord*> records;
    for (const QModelIndex& index : selected)
        if (const ExchangeRecord* r = model_->record(index.row())) records.push_back(r);
    if (records.empty()) return;
    QApplication::clipboard()->setText(ExchangeBlocks(records));
}

void ExchangeLogWindow::saveClicked() {
    QFileDialog dialog(this, QStringLiteral("Сохранить журнал"));
    StartInFolder(dialog, FileKind::ExchangeLog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("Текстовые файлы (*.txt);;Все файлы (*)"));
    dialog.selectFile(QStringLiteral("журнал обмена.txt"));
    const QString path = RunFileDialog(dialog, FileKind::ExchangeLog);
    if (!path.isEmpty()) saveTo(path);
}

void ExchangeLogWindow::saveTo(const QString& path) {
    if (SaveExchangeLog(log_, path))
        Dialogs().plain(QStringLiteral("Сохранено..."));
    else
        Dialogs().error(QStringLiteral("Не удалось создать файл..."));
}

void ExchangeLogWindow::clearClicked() {
    if (log_.isEmpty()) return;
    if (!Dialogs().confirm(QStringLiteral("Очистить журнал обмена?"))) return;
    log_.clear();
    refresh();
}
