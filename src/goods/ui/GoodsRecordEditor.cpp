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

#include "device/DeviceCharset.h"
#include "goods/GoodsRecordCheck.h"
#include "goods/Price.h"
#include "shell/UserDialogs.h"
#include "shell/ui/DeviceLineEdit.h"
#include "shell/ui/DigitFilter.h"
#include "shell/ui/Labels.h"

QString PastedPriceRefusal() {
    return QStringLiteral("Вставляемый текст не является одной ценой; он не вставлен.");
}

GoodsRecordEditor* SharedGoodsEditor = nullptr;

namespace {

constexpr int BarcodeLength = 13;

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
    nameEdit = new QLineEdit(this);
    QFont mono(QStringLiteral("Courier"));
    mono.setStyleHint(QFont::TypeWriter);
    mono.setFixedPitch(true);
    mono.setPixelSize(16);
    nameEdit->setFont(mono);
    SetupDeviceLineEdit(nameEdit, GoodsNameLength);
    nameEdit->setMinimumWidth(QFontMetrics(mono).horizontalAdvance(QString(26, QLatin1Char('W'))));
    grid->addWidget(nameEdit, 0, 1, 1, 2);
    wideBox = new QCheckBox(QStringLiteral("Широкий"), this);
    grid->addWidget(wideBox, 1, 1);

    grid->addWidget(new QLabel(QStringLiteral("Штрих-код:"), this), 2, 0);
    barcodeEdit = new QLineEdit(this);
    barcodeEdit->setMaxLength(BarcodeLength);
    InstallDigitFilter(barcodeEdit);
    grid->addWidget(barcodeEdit, 2, 1);

    grid->addWidget(new QLabel(QStringLiteral("Секция:"), this), 3, 0);
    sectionEdit = new QLineEdit(this);
    InstallDigitFilter(sectionEdit);
    grid->addWidget(sectionEdit, 3, 1);

    grid->addWidget(new QLabel(QStringLiteral("Цена:"), this), 4, 0);
    priceEdit = new QLineEdit(this);
    priceEdit->setMaxLength(GoodsPriceFieldLength);
    InstallDigitFilter(priceEdit, QStringLiteral("."), DigitField::Decimal);
    // A price copied from a price list or a spreadsheet comes with spaces and
    // words: they go before the field's length limit, so no kopeck is cut off.
    InstallPasteConversion(priceEdit, PriceFromPaste, PastedPriceRefusal());
    grid->addWidget(priceEdit, 4, 1);

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
    cancelButton = new QPushButton(QStringLiteral("Отмена"), this);
    applyButton = new QPushButton(QStringLiteral("Применить"), this);
    cancelButton->setAutoDefault(false);
    applyButton->setAutoDefault(false);
    applyButton->setDefault(true);
    buttons->addWidget(cancelButton);
    buttons->addWidget(applyButton);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(applyButton, &QPushButton::clicked, this, &GoodsRecordEditor::applyClicked);
    connect(cancelButton, &QPushButton::clicked, this, &GoodsRecordEditor::cancelClicked);
}

void GoodsRecordEditor::FillFrom(const GoodsRecord& row) {
    nameEdit->setText(FromCp1251(row.name));
    wideBox->setChecked(row.isWide());
    SetLimitedText(barcodeEdit, BarcodeLength,
                   row.barcode.isEmpty() ? QStringLiteral("0") : FromCp1251(row.barcode));
    sectionEdit->setText(FromCp1251(row.section));
    SetLimitedText(priceEdit, GoodsPriceFieldLength, FromCp1251(row.price));
}

GoodsRecord GoodsRecordEditor::RecordFor(int row) const {
    GoodsRecord record;
    record.code = QByteArray::number(row - 1);
    record.name = ToCp1251(nameEdit->text());
    record.font = wideBox->isChecked() ? WideFontText() : NarrowFontText();
    record.barcode = ToCp1251(barcodeEdit->text());
    record.section = ToCp1251(sectionEdit->text());
    record.price = ToCp1251(priceEdit->text());
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
    nameEdit->setFocus();
}

void GoodsRecordEditor::applyClicked() {
    const GoodsEntryCheck check =
        CheckGoodsEntries(nameEdit->text(), wideBox->isChecked(), barcodeEdit->text(),
                          sectionEdit->text(), priceEdit->text());
    if (!check.price.isEmpty()) priceEdit->setText(FromCp1251(check.price));
    if (!check.ok) {
        // The editor's refusals carry the error caption but no icon.
        Dialogs().inform(CaptionError(), check.message, DialogIcon::None);
        switch (check.focus) {
            case GoodsEntryField::Name:
                nameEdit->setFocus();
                break;
            case GoodsEntryField::Price:
                priceEdit->setFocus();
                break;
            case GoodsEntryField::Section:
                sectionEdit->setFocus();
                break;
            case GoodsEntryField::Barcode:
                barcodeEdit->setFocus();
                break;
            case GoodsEntryField::None:
                break;
        }
        return;
    }
    Applied = true;
    done(QDialog::Accepted);
}

void GoodsRecordEditor::cancelClicked() {
    Applied = false;
    done(QDialog::Rejected);
}

void GoodsRecordEditor::reject() {
    cancelClicked();
}
