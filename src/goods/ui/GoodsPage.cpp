#include "goods/ui/GoodsPage.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "goods/GoodsFile.h"
#include "goods/GoodsTable.h"
#include "goods/GoodsTransfer.h"
#include "goods/ui/GoodsRecordEditor.h"
#include "shell/DeviceOperation.h"
#include "shell/Progress.h"
#include "shell/UserDialogs.h"
#include "shell/ui/GridPage.h"
#include "shell/ui/Guarded.h"
#include "shell/ui/PageHost.h"

namespace {

constexpr int PageWidth = 730;
constexpr int PageHeight = 440;
constexpr int GridFontPixels = 11;

QString RunFileDialog(QFileDialog* dialog) {
    const bool accepted = dialog->exec() == QDialog::Accepted;
    const QString path = accepted ? dialog->selectedFiles().value(0) : QString();
    delete dialog;
    return path;
}

}  // namespace

GoodsPage::GoodsPage(QWidget* parent, PageHost* pageHost) : QFrame(parent), pageHost_(pageHost) {
    setFixedSize(PageWidth, PageHeight);
    table_ = new GoodsTable(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    auto* title = new QLabel(QStringLiteral("База товаров"), this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    title->setFont(titleFont);
    layout->addWidget(title);
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
    int gridWidth = 2 * grid->frameWidth() + grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (int width : GoodsColumnWidths()) gridWidth += width;
    grid->setFixedWidth(gridWidth);
    grid->setDoubleClickHandler(Guarded([this] { gridDoubleClicked(); }));
    layout->addWidget(grid, 1, Qt::AlignLeft);

    auto* bottom = new QHBoxLayout;
    layout->addLayout(bottom);

    auto* device = new QGroupBox(this);
    auto* deviceLayout = new QGridLayout(device);
    deviceLayout->setContentsMargins(6, 4, 6, 6);
    deviceLayout->setVerticalSpacing(4);
    currentOnlyBox = new QCheckBox(QStringLiteral("Текущий"), device);
    readButton = new QPushButton(QStringLiteral("Выгрузить из АС"), device);
    writeButton = new QPushButton(QStringLiteral("Загрузить в АС"), device);
    deviceLayout->addWidget(currentOnlyBox, 0, 0, 1, 2);
    deviceLayout->addWidget(readButton, 1, 0);
    deviceLayout->addWidget(writeButton, 1, 1);
    grid->setCurrentCheckBox(currentOnlyBox);
    bottom->addWidget(device);

    auto column = [bottom](QPushButton* upper, QPushButton* lower) {
        auto* box = new QVBoxLayout;
        box->addStretch();
        box->addWidget(upper);
        box->addWidget(lower);
        bottom->addLayout(box);
    };
    clearDeviceButton = new QPushButton(QStringLiteral("Очистить базу в АС"), this);
    clearButton = new QPushButton(QStringLiteral("Очистить поля"), this);
    saveFileButton = new QPushButton(QStringLiteral("Сохранить в файл"), this);
    loadFileButton = new QPushButton(QStringLiteral("Загрузить из файла"), this);
    exitButton = new QPushButton(QStringLiteral("Выход"), this);
    column(clearDeviceButton, clearButton);
    column(saveFileButton, loadFileButton);
    bottom->addStretch();
    auto* exitBox = new QVBoxLayout;
    exitBox->addStretch();
    exitBox->addWidget(exitButton);
    bottom->addLayout(exitBox);
    InstallEscapeButton(this, clearButton);

    connect(exitButton, &QPushButton::clicked, this, Guarded([this] { exitClicked(); }));
    connect(readButton, &QPushButton::clicked, this, Guarded([this] { readClicked(); }));
    connect(writeButton, &QPushButton::clicked, this, Guarded([this] { writeClicked(); }));
    connect(saveFileButton, &QPushButton::clicked, this, Guarded([this] { saveFileClicked(); }));
    connect(loadFileButton, &QPushButton::clicked, this, Guarded([this] { loadFileClicked(); }));
    connect(clearButton, &QPushButton::clicked, this, Guarded([this] { clearClicked(); }));
    connect(clearDeviceButton, &QPushButton::clicked, this,
            Guarded([this] { clearDeviceClicked(); }));
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
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    if (grid->currentOnly())
        ReadCurrentGoods(*table_, CurrentRow(), CurrentProgress(), Dialogs());
    else
        ReadAllGoods(*table_, CurrentProgress(), Dialogs());
}

void GoodsPage::writeClicked() {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    if (grid->currentOnly())
        WriteCurrentGoods(*table_, CurrentRow(), CurrentProgress(), Dialogs());
    else
        WriteAllGoods(*table_, CurrentProgress(), Dialogs());
}

void GoodsPage::clearDeviceClicked() {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    EraseDeviceGoods(CurrentProgress(), Dialogs());
}

void GoodsPage::clearClicked() {
    table_->clear();
}

QFileDialog* GoodsPage::CreateSaveDialog(QWidget* parent) {
    auto* dialog = new QFileDialog(parent, QStringLiteral("Файлы базы данных"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setNameFilter(QStringLiteral("Базы (*.base)"));
    dialog->setDefaultSuffix(QStringLiteral("base"));
    dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
    return dialog;
}

QFileDialog* GoodsPage::CreateOpenDialog(QWidget* parent) {
    auto* dialog = new QFileDialog(parent);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // Any typed name is taken: one that cannot be opened gets the page's own message.
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilter(QStringLiteral("Базыl (*.base)"));
    dialog->setDefaultSuffix(QStringLiteral("base"));
    return dialog;
}

void GoodsPage::saveFileClicked() {
    SaveToFile(RunFileDialog(CreateSaveDialog(this)));
}

void GoodsPage::loadFileClicked() {
    // A transfer that is running reads or fills the same table.
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    LoadFromFile(RunFileDialog(CreateOpenDialog(this)));
}

void GoodsPage::SaveToFile(const QString& path) {
    if (path.isEmpty()) return;
    SaveGoodsFileInteractive(*table_, path);
}

void GoodsPage::LoadFromFile(const QString& path) {
    if (path.isEmpty()) return;
    LoadGoodsFileInteractive(*table_, path);
}

void GoodsPage::gridDoubleClicked() {
    if (!SharedGoodsEditor) return;
    const int row = CurrentRow();
    GoodsRecord record = table_->record(row);
    if (SharedGoodsEditor->Edit(record, row)) table_->setRecord(row, record);
}
