#include "admin/ui/StatePage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "admin/StateDecoding.h"
#include "shell/DeviceOperation.h"
#include "shell/ItemLoop.h"
#include "shell/UserDialogs.h"
#include "shell/ui/Guarded.h"

namespace {

constexpr int CodeFieldWidth = 36;

QLineEdit* DisplayField(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::ClickFocus);
    QPalette pal = field->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Button));
    field->setPalette(pal);
    return field;
}

QLineEdit* CodeField(QWidget* parent) {
    QLineEdit* field = DisplayField(parent);
    field->setFixedWidth(CodeFieldWidth);
    field->setAlignment(Qt::AlignCenter);
    return field;
}

QLabel* Caption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

// One row of a column: the caption, then either one wide field or a narrow
// code field followed by its text.
void AddRow(QGridLayout* grid, int row, const QString& caption, QLineEdit* code, QLineEdit* text,
            QWidget* parent) {
    grid->addWidget(Caption(caption, parent), row, 0);
    if (text) {
        grid->addWidget(code, row, 1);
        grid->addWidget(text, row, 2);
    } else {
        // Room for the longest value a single field shows: a 48-bit ИНН.
        code->setMinimumWidth(
            code->fontMetrics().horizontalAdvance(QStringLiteral("281474976710655")) + 16);
        grid->addWidget(code, row, 1, 1, 2);
    }
}

}  // namespace

StatePage::StatePage(QWidget* parent) : QFrame(parent) {
    setFixedSize(730, 440);

    auto* title = new QLabel(QStringLiteral("Запрос состояния"), this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSize(titleFont.pointSize() + 4);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);

    TimeEdit = DisplayField(this);
    DateEdit = DisplayField(this);
    ModeCodeEdit = CodeField(this);
    ModeTextEdit = DisplayField(this);
    SubModeCodeEdit = CodeField(this);
    SubModeTextEdit = DisplayField(this);
    FlashCodeEdit = CodeField(this);
    FlashTextEdit = DisplayField(this);
    BatteryCodeEdit = CodeField(this);
    BatteryTextEdit = DisplayField(this);
    DocumentNumberEdit = DisplayField(this);
    DocumentStateEdit = DisplayField(this);
    FactoryNumberEdit = DisplayField(this);
    InnEdit = DisplayField(this);

    auto* left = new QGridLayout;
    left->setHorizontalSpacing(8);
    left->setVerticalSpacing(10);
    AddRow(left, 0, QStringLiteral("Время АС :"), TimeEdit, nullptr, this);
    AddRow(left, 1, QStringLiteral("Дата АС :"), DateEdit, nullptr, this);
    AddRow(left, 2, QStringLiteral("Режим работы :"), ModeCodeEdit, ModeTextEdit, this);
    AddRow(left, 3, QStringLiteral("Подрежим :"), SubModeCodeEdit, SubModeTextEdit, this);
    AddRow(left, 4, QStringLiteral("Флеш память :"), FlashCodeEdit, FlashTextEdit, this);
    left->setColumnStretch(2, 1);
    left->setRowStretch(5, 1);
    // The flash state shows its code only; the text field keeps its place.
    QSizePolicy keepPlace = FlashTextEdit->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    FlashTextEdit->setSizePolicy(keepPlace);
    FlashTextEdit->setVisible(false);

    auto* right = new QGridLayout;
    right->setHorizontalSpacing(8);
    right->setVerticalSpacing(10);
    AddRow(right, 0, QStringLiteral("Батарейка :"), BatteryCodeEdit, BatteryTextEdit, this);
    AddRow(right, 1, QStringLiteral("№ текущего документа :"), DocumentNumberEdit, nullptr, this);
    AddRow(right, 2, QStringLiteral("Состояние текущего документа :"), DocumentStateEdit, nullptr,
           this);
    AddRow(right, 3, QStringLiteral("Заводской номер АС :"), FactoryNumberEdit, nullptr, this);
    AddRow(right, 4, QStringLiteral("ИНН :"), InnEdit, nullptr, this);
    right->setColumnStretch(2, 1);
    right->setRowStretch(5, 1);

    auto* columns = new QHBoxLayout;
    columns->setSpacing(24);
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);

    stateButton = new QPushButton(QStringLiteral("Состояние"), this);
    stateButton->setMinimumWidth(120);
    connect(stateButton, &QPushButton::clicked, this, Guarded([this] { stateClicked(); }));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(stateButton);
    buttons->addStretch(1);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(16, 12, 16, 16);
    page->setSpacing(16);
    page->addWidget(title);
    page->addLayout(columns);
    page->addStretch(1);
    page->addLayout(buttons);
}

QList<QLineEdit*> StatePage::fields() const {
    return {TimeEdit,          DateEdit,        ModeCodeEdit,       ModeTextEdit,
            SubModeCodeEdit,   SubModeTextEdit, FlashCodeEdit,      FlashTextEdit,
            BatteryCodeEdit,   BatteryTextEdit, DocumentNumberEdit, DocumentStateEdit,
            FactoryNumberEdit, InnEdit};
}

void StatePage::clearFields() {
    for (QLineEdit* field : fields()) field->clear();
}

void StatePage::fill(const StateTexts& t) {
    const QStringList texts = {t.time,          t.date,          t.modeCode,       t.modeText,
                               t.subModeCode,   t.subModeText,   t.flashCode,      t.flashText,
                               t.batteryCode,   t.batteryText,   t.documentNumber, t.documentState,
                               t.factoryNumber, t.taxpayerNumber};
    const QList<QLineEdit*> all = fields();
    for (int i = 0; i < all.size(); ++i) {
        all[i]->setText(texts[i]);
        all[i]->setCursorPosition(0);
    }
}

void StatePage::stateClicked() {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    clearFields();
    const StateQuery query = QueryDeviceState();
    if (!query.ok()) {
        Dialogs().error(StateFailureMessage(query));
        return;
    }
    fill(DecodeState(query.answer));
}
