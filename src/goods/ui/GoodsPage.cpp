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

    StringGrid1 = new GridPage(this);
    StringGrid1->setModel(table_);
    StringGrid1->setColumnWidths(GoodsColumnWidths());
    // The column widths are the grid's own; a compact font lets a 13-digit
    // barcode and every header fit them.
    QFont gridFont = StringGrid1->font();
    gridFont.setPixelSize(GridFontPixels);
    StringGrid1->setFont(gridFont);
    StringGrid1->horizontalHeader()->setFont(gridFont);
    int gridWidth = 2 * StringGrid1->frameWidth() +
                    StringGrid1->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (int width : GoodsColumnWidths()) gridWidth += width;
    StringGrid1->setFixedWidth(gridWidth);
    StringGrid1->setDoubleClickHandler(Guarded([this] { StringGrid1DblClick(); }));
    layout->addWidget(StringGrid1, 1, Qt::AlignLeft);

    auto* bottom = new QHBoxLayout;
    layout->addLayout(bottom);

    auto* device = new QGroupBox(this);
    auto* deviceLayout = new QGridLayout(device);
    deviceLayout->setContentsMargins(6, 4, 6, 6);
    deviceLayout->setVerticalSpacing(4);
    CheckBox1 = new QCheckBox(QStringLiteral("Текущий"), device);
    BitBtn1 = new QPushButton(QStringLiteral("Выгрузить из АС"), device);
    BitBtn2 = new QPushButton(QStringLiteral("Загрузить в АС"), device);
    deviceLayout->addWidget(CheckBox1, 0, 0, 1, 2);
    deviceLayout->addWidget(BitBtn1, 1, 0);
    deviceLayout->addWidget(BitBtn2, 1, 1);
    StringGrid1->setCurrentCheckBox(CheckBox1);
    bottom->addWidget(device);

    auto column = [bottom](QPushButton* upper, QPushButton* lower) {
        auto* box = new QVBoxLayout;
        box->addStretch();
        box->addWidget(upper);
        box->addWidget(lower);
        bottom->addLayout(box);
    };
    BitBtn6 = new QPushButton(QStringLiteral("Очистить базу в АС"), this);
    BitBtn5 = new QPushButton(QStringLiteral("Очистить поля"), this);
    BitBtn3 = new QPushButton(QStringLiteral("Сохранить в файл"), this);
    BitBtn4 = new QPushButton(QStringLiteral("Загрузить из файла"), this);
    Button1 = new QPushButton(QStringLiteral("Выход"), this);
    column(BitBtn6, BitBtn5);
    column(BitBtn3, BitBtn4);
    bottom->addStretch();
    auto* exitBox = new QVBoxLayout;
    exitBox->addStretch();
    exitBox->addWidget(Button1);
    bottom->addLayout(exitBox);
    InstallEscapeButton(this, BitBtn5);

    connect(Button1, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
    connect(BitBtn1, &QPushButton::clicked, this, Guarded([this] { BitBtn1Click(); }));
    connect(BitBtn2, &QPushButton::clicked, this, Guarded([this] { BitBtn2Click(); }));
    connect(BitBtn3, &QPushButton::clicked, this, Guarded([this] { BitBtn3Click(); }));
    connect(BitBtn4, &QPushButton::clicked, this, Guarded([this] { BitBtn4Click(); }));
    connect(BitBtn5, &QPushButton::clicked, this, Guarded([this] { BitBtn5Click(); }));
    connect(BitBtn6, &QPushButton::clicked, this, Guarded([this] { BitBtn6Click(); }));
}

int GoodsPage::CurrentRow() const {
    return StringGrid1->CurrentRow();
}
int GoodsPage::CurrentCol() const {
    return StringGrid1->CurrentCol();
}

void GoodsPage::Button1Click() {
    if (!Dialogs().confirm(QStringLiteral("Вы действительно хотите выйти из загрузчика базы?")))
        return;
    if (pageHost_)
        pageHost_->ShowMainPage(nullptr);
    else
        hide();
}

void GoodsPage::BitBtn1Click() {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    if (StringGrid1->currentOnly())
        ReadCurrentGoods(*table_, CurrentRow(), CurrentProgress(), Dialogs());
    else
        ReadAllGoods(*table_, CurrentProgress(), Dialogs());
}

void GoodsPage::BitBtn2Click() {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    if (StringGrid1->currentOnly())
        WriteCurrentGoods(*table_, CurrentRow(), CurrentProgress(), Dialogs());
    else
        WriteAllGoods(*table_, CurrentProgress(), Dialogs());
}

void GoodsPage::BitBtn6Click() {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    EraseDeviceGoods(CurrentProgress(), Dialogs());
}

void GoodsPage::BitBtn5Click() {
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

void GoodsPage::BitBtn3Click() {
    SaveToFile(RunFileDialog(CreateSaveDialog(this)));
}

void GoodsPage::BitBtn4Click() {
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

void GoodsPage::StringGrid1DblClick() {
    if (!SharedGoodsEditor) return;
    const int row = CurrentRow();
    GoodsRecord record = table_->record(row);
    if (SharedGoodsEditor->Edit(record, row)) table_->setRecord(row, record);
}
