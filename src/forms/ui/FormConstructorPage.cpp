#include "forms/ui/FormConstructorPage.h"

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QFileDialog>
#include <QFont>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextEdit>
#include <algorithm>
#include <memory>
#include <utility>

#include "config/DeviceConfiguration.h"
#include "config/ui/ConfigurationUndo.h"
#include "device/DeviceCharset.h"
#include "forms/FormPreview.h"
#include "forms/FormTransfer.h"
#include "forms/FormVariants.h"
#include "forms/ui/FormConstructorLayout.h"
#include "forms/ui/FormPrintout.h"
#include "shell/DeviceOperation.h"
#include "shell/SafeSave.h"
#include "shell/UserDialogs.h"
#include "shell/ui/FileDialogs.h"
#include "shell/ui/GridPage.h"
#include "shell/ui/Guarded.h"
#include "shell/ui/HelpWindow.h"
#include "shell/ui/PageHost.h"
#include "shell/ui/UndoSteps.h"

using namespace FormConstructorLayout;

namespace {

constexpr int ToggleSize = 25;
constexpr int ToggleStep = 27;
constexpr int RowStep = 18;

// The one text the empty group label and the value labels of "no variant" show.
const QString NoValue = QStringLiteral("---");

QLabel* AddLabel(QWidget* parent, const QString& text, int x, int y, int width,
                 int height = RowStep) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(x, y, width, height);
    return label;
}

QPushButton* AddToggle(QWidget* parent, const QString& text, int x, int y) {
    auto* button = new QPushButton(text, parent);
    button->setCheckable(true);
    button->setGeometry(x, y, ToggleSize, ToggleSize);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

// At most one button of a group is down, and pressing the one that is down
// lets it up again, so "none" is a state the user can choose.
template <std::size_t N>
void ReleaseOthers(const std::array<QPushButton*, N>& buttons, const QPushButton* kept) {
    for (QPushButton* button : buttons)
        if (button != kept) button->setChecked(false);
}

template <std::size_t N>
int PressedIndex(const std::array<QPushButton*, N>& buttons) {
    for (std::size_t i = 0; i < N; ++i)
        if (buttons[i]->isChecked()) return int(i) + 1;
    return 0;
}

template <std::size_t N>
void PressOnly(const std::array<QPushButton*, N>& buttons, int number) {
    for (std::size_t i = 0; i < N; ++i) buttons[i]->setChecked(int(i) + 1 == number);
}

QIcon HelpIcon() {
    QPixmap picture(20, 20);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 0, 128), 1.5));
    painter.setBrush(QColor(255, 255, 210));
    painter.drawEllipse(QRectF(1.5, 1.5, 17, 17));
    QFont font(QStringLiteral("Serif"));
    font.setPixelSize(14);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, 20, 20), Qt::AlignCenter, QStringLiteral("?"));
    return QIcon(picture);
}

}  // namespace

QString FormConstructorPage::UnknownGroupText() {
    return NoValue;
}

FormConstructorPage::FormConstructorPage(QWidget* parent, PageHost* pageHost)
    : QFrame(parent), pageHost_(pageHost) {
    setMinimumSize(PageWidth, PageHeight);
    resize(PageWidth, PageHeight);
    buildControls();
    buildRequisiteControls();
    buildDiscountControls();
    buildButtons();
    bindUndo();
}

void FormConstructorPage::setPageHost(PageHost* pageHost) {
    pageHost_ = pageHost;
    bindUndo();
}

void FormConstructorPage::bindUndo() {
    delete undoAction;
    delete redoAction;
    delete undoMenu;
    undoAction = redoAction = nullptr;
    undoMenu = nullptr;
    disconnect(restoredConnection_);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    ConfigurationUndo* undo = pageHost_ ? pageHost_->configurationUndo() : nullptr;
    if (!undo) return;
    // The page's buttons take no focus from a click: the keys work wherever
    // the focus is while the page is shown.
    const UndoActions actions = AddUndoActions(this, undo->stack(), Qt::WindowShortcut);
    undoAction = actions.undo;
    redoAction = actions.redo;
    undoMenu = AddUndoMenu(this, actions);
    restoredConnection_ =
        connect(undo, &ConfigurationUndo::restored, this, [this] { showRestored(); });
}

void FormConstructorPage::recordChoice(const std::function<void()>& edit) {
    RecordConfigurationEdit(pageHost_ ? pageHost_->configurationUndo() : nullptr, EditStepText(),
                            edit);
}

void FormConstructorPage::showRestored() {
    const int form = selectedForm();
    Fill();
    if (form) formButtonClicked();
}

void FormConstructorPage::buildControls() {
    auto* title = AddLabel(this, QStringLiteral("Конструктор форм БСО"), 4, 4, 300, 20);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
    title->setFont(titleFont);

    AddLabel(this, QStringLiteral("Форма:"), 4, 34, 60);
    for (std::size_t i = 0; i < FormButtons.size(); ++i) {
        QPushButton* button = AddToggle(this, QString::number(i + 1), 70 + int(i) * ToggleStep, 30);
        FormButtons[i] = button;
        connect(button, &QPushButton::clicked, this, Guarded([this, button] {
                    ReleaseOthers(FormButtons, button);
                    formButtonClicked();
                }));
    }
    AddLabel(this, QStringLiteral("Вариант:"), 4, 64, 60);
    for (std::size_t i = 0; i < VariantButtons.size(); ++i) {
        QPushButton* button = AddToggle(this, QString::number(i + 1), 70 + int(i) * ToggleStep, 60);
        button->setEnabled(false);
        VariantButtons[i] = button;
        connect(button, &QPushButton::clicked, this, Guarded([this, button] {
                    ReleaseOthers(VariantButtons, button);
                    variantButtonClicked();
                }));
    }

    AddLabel(this, QStringLiteral("Текущая форма"), 300, 34, 110);
    CurrentFormLabel = AddLabel(this, QStringLiteral("-"), 412, 34, 40);
    AddLabel(this, QStringLiteral("Текущая группа"), 300, 64, 110);
    ValueLabels[0] = AddLabel(this, QString(), 412, 64, 40);

    // Two columns of the variant's properties under the buttons.
    const QStringList left = {QStringLiteral("Количество ДСО:"), QStringLiteral("Кол-во услуг:"),
                              QStringLiteral("Разрядность сумм:")};
    const QStringList right = {QStringLiteral("Дополнительный реквизит:"),
                               QStringLiteral("Скидка: "), QStringLiteral("Налог:"),
                               QStringLiteral("Код:")};
    constexpr int top = 94;
    for (int i = 0; i < left.size(); ++i) {
        AddLabel(this, left[i], 4, top + i * RowStep, 130);
        ValueLabels[std::size_t(1 + i)] = AddLabel(this, NoValue, 136, top + i * RowStep, 70);
    }
    for (int i = 0; i < right.size(); ++i) {
        AddLabel(this, right[i], 220, top + i * RowStep, 175);
        ValueLabels[std::size_t(4 + i)] = AddLabel(this, NoValue, 400, top + i * RowStep, 44);
    }

    preview = new QTextEdit(this);
    preview->setGeometry(PreviewLeft, 4, PreviewWidth, 330);
    preview->setReadOnly(true);
    preview->setAcceptRichText(false);
    preview->setLineWrapMode(QTextEdit::NoWrap);
    preview->setFont(FixedPitchFont());
    preview->document()->setDefaultFont(FixedPitchFont());
}

void FormConstructorPage::buildRequisiteControls() {
    RequisiteControls = new QWidget(this);
    RequisiteControls->setGeometry(4, 170, 444, 204);
    AddLabel(RequisiteControls, QStringLiteral("Дополнительный\nреквизит:"), 0, 0, 130, 32);
    AddLabel(RequisiteControls, QStringLiteral("Текущий реквизит:"), 216, 8, 130);
    requisiteCombo = new QComboBox(RequisiteControls);
    requisiteCombo->setGeometry(344, 4, 93, 24);
    requisiteCombo->addItem(QStringLiteral("Нет"));
    for (int r = 1; r <= RequisiteCount; ++r) requisiteCombo->addItem(QStringLiteral(" %1").arg(r));
    connect(requisiteCombo, &QComboBox::activated, this,
            [this](int index) { Guarded([this, index] { requisiteSelected(index); })(); });

    grid = new GridPage(RequisiteControls);
    GridModel = new GridTextModel(
        RequisiteCount,
        {QStringLiteral("№"), QStringLiteral("Строка 1"), QStringLiteral("Строка 2"),
         QStringLiteral("Строка 3"), QStringLiteral("Дост.")},
        grid);
    grid->setModel(GridModel);
    grid->setColumnWidths({20, 125, 125, 100, 65});
    grid->setFont(FixedPitchFont());
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setGeometry(0, 36, RequisiteGridWidth, 167);
    RequisiteControls->hide();
}

void FormConstructorPage::buildDiscountControls() {
    DiscountControls = new QWidget(this);
    DiscountControls->setGeometry(4, 380, 250, 28);
    AddLabel(DiscountControls, QStringLiteral("Скидка/Налог/Код:"), 0, 5, 130);
    const QStringList letters = {QStringLiteral("С"), QStringLiteral("Н"), QStringLiteral("К")};
    for (std::size_t i = 0; i < TypeButtons.size(); ++i) {
        QPushButton* button =
            AddToggle(DiscountControls, letters[int(i)], 134 + int(i) * ToggleStep, 1);
        TypeButtons[i] = button;
        connect(button, &QPushButton::clicked, this, Guarded([this, button] {
                    ReleaseOthers(TypeButtons, button);
                    kindButtonClicked();
                }));
    }
    DiscountControls->hide();
}

void FormConstructorPage::buildButtons() {
    printButton = new QPushButton(QStringLiteral("Печать..."), this);
    printButton->setGeometry(456, 342, 132, 26);
    connect(printButton, &QPushButton::clicked, this, Guarded([this] { printClicked(); }));
    pdfButton = new QPushButton(QStringLiteral("Сохранить в PDF..."), this);
    pdfButton->setGeometry(592, 342, 132, 26);
    connect(pdfButton, &QPushButton::clicked, this, Guarded([this] { savePdfClicked(); }));
    writeButton = new QPushButton(QStringLiteral("Загрузить в АС"), this);
    writeButton->setGeometry(456, 374, 132, 26);
    connect(writeButton, &QPushButton::clicked, this, Guarded([this] { writeClicked(); }));
    readButton = new QPushButton(QStringLiteral("Выгрузить из АС"), this);
    readButton->setGeometry(592, 374, 132, 26);
    connect(readButton, &QPushButton::clicked, this, Guarded([this] { readClicked(); }));
    helpButton = new QPushButton(this);
    helpButton->setIcon(HelpIcon());
    helpButton->setIconSize(QSize(20, 20));
    helpButton->setAccessibleName(QStringLiteral("Справка"));
    helpButton->setGeometry(456, 406, 32, 26);
    connect(helpButton, &QPushButton::clicked, this, Guarded([this] { helpClicked(); }));
    exitButton = new QPushButton(QStringLiteral("Выход"), this);
    exitButton->setGeometry(644, 406, 80, 26);
    connect(exitButton, &QPushButton::clicked, this, Guarded([this] { exitClicked(); }));
}

// ---- State of the controls ----------------------------------------------------------

int FormConstructorPage::selectedForm() const {
    return PressedIndex(FormButtons);
}
int FormConstructorPage::pressedVariant() const {
    return PressedIndex(VariantButtons);
}

void FormConstructorPage::setCurrentGroup(std::optional<int> group) {
    // Group 0 is a group the device can report; only a failed query leaves it unknown.
    ValueLabels[0]->setText(group ? QString::number(*group) : UnknownGroupText());
}

void FormConstructorPage::clearValues() {
    ValueLabels[0]->clear();
    for (std::size_t i = 1; i < ValueLabels.size(); ++i) ValueLabels[i]->setText(NoValue);
}

void FormConstructorPage::showVariantValues(int variant, int form) {
    const FormVariant* row = FormVariantOf(variant);
    if (!row) {
        for (QLabel* label : ValueLabels) label->clear();
        return;
    }
    const QStringList texts = row->valueTexts();
    for (std::size_t i = 0; i < ValueLabels.size(); ++i) ValueLabels[i]->setText(texts[int(i)]);
    if (variant >= 1) {
        setRequisiteItem(Slot(form).requisite);
        setKindButtons(Slot(form).kind);
    }
}

void FormConstructorPage::offerControls(int variant) {
    const FormVariant* row = FormVariantOf(variant);
    if (!row) return;  // a number the table does not know leaves the controls as they are
    if (variant == 0) {
        RequisiteControls->hide();
        DiscountControls->hide();
        PressOnly(VariantButtons, 0);
        preview->clear();
        return;
    }
    RequisiteControls->setVisible(row->offersRequisite);
    DiscountControls->setVisible(row->offersDiscount);
    TypeButtons[2]->setVisible(row->offersCode);
}

void FormConstructorPage::pressVariant(int variant) {
    PressOnly(VariantButtons, variant);
}

void FormConstructorPage::setKindButtons(int kind) {
    PressOnly(TypeButtons, kind);
}

void FormConstructorPage::setRequisiteItem(int requisite) {
    requisiteCombo->setCurrentIndex(requisite >= 0 && requisite <= RequisiteCount ? requisite : -1);
}

void FormConstructorPage::setVariantButtonsEnabled(bool enabled) {
    for (QPushButton* button : VariantButtons) button->setEnabled(enabled);
}

// ---- Handlers -------------------------------------------------------------------------

void FormConstructorPage::Fill() {
    const DeviceConfiguration& config = CurrentConfiguration();
    for (int r = 1; r <= RequisiteCount; ++r) {
        const ThreeLineRecord& requisite = config.requisites[r - 1];
        GridModel->setCell(0, r, QString::number(r));
        for (int line = 0; line < 3; ++line)
            GridModel->setCell(
                1 + line, r,
                FromCp1251(FieldText(requisite.lines[line].bytes + 1, PreviewLineWidth)));
        GridModel->setCell(4, r, requisite.access ? QStringLiteral("да") : QStringLiteral("нет"));
    }
    for (std::size_t i = 0; i < FormButtons.size(); ++i) {
        QPalette palette = FormButtons[i]->palette();
        palette.setColor(QPalette::ButtonText,
                         config.forms[i].status == 0 ? QColor(Qt::red) : QColor(Qt::black));
        FormButtons[i]->setPalette(palette);
        FormButtons[i]->setEnabled(true);
    }
    CurrentFormLabel->setText(QStringLiteral("-"));
    setVariantButtonsEnabled(false);
    RequisiteControls->hide();
    DiscountControls->hide();
    preview->clear();
}

void FormConstructorPage::formButtonClicked() {
    const int form = selectedForm();
    pressVariant(0);
    preview->clear();
    RequisiteControls->hide();
    DiscountControls->hide();
    clearValues();
    CurrentFormLabel->setText(form ? QString::number(form) : QStringLiteral("-"));
    if (form) offerControls(Slot(form).variant);
    setVariantButtonsEnabled(form != 0);
    if (!form) return;
    pressVariant(Slot(form).variant);
    renderPreview(form);
    showVariantValues(Slot(form).variant, form);
}

void FormConstructorPage::variantButtonClicked() {
    const int variant = pressedVariant();
    if (variant == 0) {
        // Letting the button up only clears the view; the slot keeps its variant.
        RequisiteControls->hide();
        DiscountControls->hide();
        preview->clear();
        clearValues();
        return;
    }
    const int form = selectedForm();
    if (!form) {
        Dialogs().warning(QStringLiteral("Не выбрана форма..."));
        return;
    }
    offerControls(variant);
    showVariantValues(variant, form);
    recordChoice([form, variant] { Slot(form).variant = uint8_t(variant); });
    renderPreview(form);
}

void FormConstructorPage::kindButtonClicked() {
    const int form = selectedForm();
    if (!form) return;
    const int kind = PressedIndex(TypeButtons);
    recordChoice([form, kind] { Slot(form).kind = uint8_t(kind); });
    renderPreview(form);
}

void FormConstructorPage::requisiteSelected(int index) {
    const int form = selectedForm();
    if (!form || index < 0 || index > RequisiteCount) return;
    recordChoice([form, index] { Slot(form).requisite = uint8_t(index); });
    renderPreview(form);
}

void FormConstructorPage::helpClicked() {
    HelpWindow help(this);
    help.exec();
}

void FormConstructorPage::exitClicked() {
    if (!Dialogs().confirm(QStringLiteral("Вы действительно хотите выйти из конструктора форм?")))
        return;
    if (pageHost_) pageHost_->ShowMainPage(nullptr);
}
