#include "goods/ui/GoodsRecordEditor.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "config/DeviceCharset.h"
#include "goods/GoodsRecordCheck.h"
#include "shell/UserDialogs.h"
#include "shell/ui/DeviceLineEdit.h"
#include "shell/ui/DigitFilter.h"
#include "shell/ui/Labels.h"

GoodsRecordEditor* SharedGoodsEditor = nullptr;

namespace {

constexpr int BarcodeLength = 13;
constexpr int PriceLength = 12;

// A cell longer than the field lets the user type (a barcode of up to 15
// digits read from the device or a file) is shown whole, so that applying
// other changes never shortens it.
void SetLimitedText(QLineEdit* field, int typedLimit, const QString& text) {
    field->setMaxLength(std::max(typedLimit, int(text.size())));
    field->setText(text);
}

}  // namespace

GoodsRecordEditor::GoodsRecordEditor(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Редактирование параметров..."));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);

    grid->addWidget(new QLabel(QStringLiteral("Наименование:"), this), 0, 0);
    Edit1 = new QLineEdit(this);
    QFont mono(QStringLiteral("Courier"));
    mono.setStyleHint(QFont::TypeWriter);
    mono.setFixedPitch(true);
    mono.setPixelSize(16);
    Edit1->setFont(mono);
    SetupDeviceLineEdit(Edit1, GoodsNameLength);
    Edit1->setMinimumWidth(QFontMetrics(mono).horizontalAdvance(QString(26, QLatin1Char('W'))));
    grid->addWidget(Edit1, 0, 1, 1, 2);
    CheckBox1 = new QCheckBox(QStringLiteral("Широкий"), this);
    grid->addWidget(CheckBox1, 1, 1);

    grid->addWidget(new QLabel(QStringLiteral("Штрих-код:"), this), 2, 0);
    Edit2 = new QLineEdit(this);
    Edit2->setMaxLength(BarcodeLength);
    InstallDigitFilter(Edit2);
    grid->addWidget(Edit2, 2, 1);

    grid->addWidget(new QLabel(QStringLiteral("Секция:"), this), 3, 0);
    Edit3 = new QLineEdit(this);
    InstallDigitFilter(Edit3);
    grid->addWidget(Edit3, 3, 1);

    grid->addWidget(new QLabel(QStringLiteral("Цена:"), this), 4, 0);
    Edit4 = new QLineEdit(this);
    Edit4->setMaxLength(PriceLength);
    InstallDigitFilter(Edit4, QStringLiteral("."));
    grid->addWidget(Edit4, 4, 1);

    auto* warning = new QVBoxLayout;
    warning->setSpacing(0);
    warning->addWidget(ColouredLabel(QStringLiteral("Внимание!"), this, true));
    warning->addWidget(ColouredLabel(QStringLiteral("Значение \"Цена\" вводите"), this));
    warning->addWidget(ColouredLabel(QStringLiteral("через ТОЧКУ с копейками"), this));
    grid->addLayout(warning, 2, 2, 3, 1, Qt::AlignRight | Qt::AlignBottom);
    grid->setColumnStretch(1, 1);

    layout->addSpacing(6);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    Button2 = new QPushButton(QStringLiteral("Отмена"), this);
    Button1 = new QPushButton(QStringLiteral("Применить"), this);
    Button2->setAutoDefault(false);
    Button1->setAutoDefault(false);
    Button1->setDefault(true);
    buttons->addWidget(Button2);
    buttons->addWidget(Button1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button1, &QPushButton::clicked, this, &GoodsRecordEditor::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &GoodsRecordEditor::Button2Click);
}

void GoodsRecordEditor::FillFrom(const GoodsRecord& row) {
    Edit1->setText(FromCp1251(row.name));
    CheckBox1->setChecked(row.isWide());
    SetLimitedText(Edit2, BarcodeLength,
                   row.barcode.isEmpty() ? QStringLiteral("0") : FromCp1251(row.barcode));
    Edit3->setText(FromCp1251(row.section));
    SetLimitedText(Edit4, PriceLength, FromCp1251(row.price));
}

GoodsRecord GoodsRecordEditor::RecordFor(int row) const {
    GoodsRecord record;
    record.code = QByteArray::number(row - 1);
    record.name = ToCp1251(Edit1->text());
    record.font = CheckBox1->isChecked() ? WideFontText() : NarrowFontText();
    record.barcode = ToCp1251(Edit2->text());
    record.section = ToCp1251(Edit3->text());
    record.price = ToCp1251(Edit4->text());
    return record;
}

bool GoodsRecordEditor::Edit(GoodsRecord& record, int row) {
    FillFrom(record);
    Applied = false;
    exec();
    if (!Applied) return false;
    record = RecordFor(row);
    return true;
}

void GoodsRecordEditor::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (QWidget* owner = parentWidget())
        move(owner->window()->geometry().center() - rect().center());
    Edit1->setFocus();
}

void GoodsRecordEditor::Button1Click() {
    const GoodsEntryCheck check = CheckGoodsEntries(Edit2->text(), Edit3->text(), Edit4->text());
    if (!check.price.isEmpty()) Edit4->setText(FromCp1251(check.price));
    if (!check.ok) {
        // The editor's refusals carry the error caption but no icon.
        Dialogs().inform(CaptionError(), check.message, DialogIcon::None);
        switch (check.focus) {
            case GoodsEntryField::Price:
                Edit4->setFocus();
                break;
            case GoodsEntryField::Section:
                Edit3->setFocus();
                break;
            case GoodsEntryField::Barcode:
                Edit2->setFocus();
                break;
            case GoodsEntryField::None:
                break;
        }
        return;
    }
    Applied = true;
    done(QDialog::Accepted);
}

void GoodsRecordEditor::Button2Click() {
    Applied = false;
    done(QDialog::Rejected);
}

void GoodsRecordEditor::reject() {
    Button2Click();
}
