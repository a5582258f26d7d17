#include "admin/ui/InnDialog.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "admin/InnProgramming.h"
#include "shell/DeviceOperation.h"
#include "shell/UserDialogs.h"
#include "shell/ui/DigitFilter.h"
#include "shell/ui/Guarded.h"
#include "shell/ui/Labels.h"

InnDialog::InnDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Программирование ИНН...."));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto* title = ColouredLabel(QStringLiteral("Программирование ИНН"), this, true);
    QFont titleFont = title->font();
    titleFont.setPointSize(titleFont.pointSize() + 2);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);

    auto* warning = new QVBoxLayout;
    warning->setSpacing(0);
    warning->addWidget(ColouredLabel(QStringLiteral("Внимание!"), this, true, Qt::red));
    const char16_t* lines[] = {
        u"Ввод ИИН переводит АС в рабочий режим. Все формы БСО,",
        u"которые были запрограммированы до ввода ИНН, при переходе АС в рабочий",
        u"режим автоматически будут удалены. Поэтому в рабочем режиме их нужно",
        u"будет вводить заново (в соответствии с выбранной группой БСО). В рабочем",
        u"режиме все печатаемые на ДСО данные (название ДСО, Ф.И.О. и должность",
        u"операторов, клише, услуги и доп. реквизиты), а также формы БСО перепрог-",
        u"раммировать будет уже нельзя!",
    };
    for (const char16_t* line : lines)
        warning->addWidget(ColouredLabel(QString::fromUtf16(line), this));

    innEdit = new QLineEdit(QStringLiteral("0"), this);
    innEdit->setMaxLength(InnMaxDigits);
    InstallDigitFilter(innEdit);
    passwordEdit = new QLineEdit(QStringLiteral("0"), this);
    passwordEdit->setMaxLength(InnPasswordMaxDigits);
    passwordEdit->setEchoMode(QLineEdit::Password);
    InstallDigitFilter(passwordEdit);

    const QLocale russian(QLocale::Russian, QLocale::Russia);
    dateEdit = new QDateEdit(this);
    dateEdit->setLocale(russian);
    dateEdit->setDisplayFormat(russian.dateFormat(QLocale::LongFormat));
    dateEdit->setCalendarPopup(true);
    dateEdit->setDateRange(QDate(InnFirstYear, 1, 1), QDate(InnLastYear, 12, 31));
    dateEdit->setDate(QDate::currentDate());

    groupCombo = new QComboBox(this);
    groupCombo->addItems(
        {QStringLiteral("Группа 1"), QStringLiteral("Группа 2"), QStringLiteral("Группа 3")});
    groupCombo->setCurrentIndex(0);

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    innEdit->setFixedWidth(160);
    passwordEdit->setFixedWidth(160);
    // Room for the longest long-format date (weekday and month in words).
    const QString longest = russian.toString(QDate(2000, 9, 24), QLocale::LongFormat);
    dateEdit->setFixedWidth(dateEdit->fontMetrics().horizontalAdvance(longest) + 48);
    groupCombo->setFixedWidth(160);
    form->addRow(QStringLiteral("ИНН:"), innEdit);
    form->addRow(QStringLiteral("Пароль:"), passwordEdit);
    form->addRow(QStringLiteral("Дата:"), dateEdit);
    form->addRow(QStringLiteral("Группа:"), groupCombo);

    cancelButton = new QPushButton(QStringLiteral("Отмена"), this);
    applyButton = new QPushButton(QStringLiteral("Применить"), this);
    cancelButton->setAutoDefault(false);
    applyButton->setAutoDefault(false);
    // Enter presses "Применить", which asks before it programs anything, with
    // "Нет" as the default.
    applyButton->setDefault(true);
    connect(cancelButton, &QPushButton::clicked, this, Guarded([this] { cancelClicked(); }));
    connect(applyButton, &QPushButton::clicked, this, Guarded([this] { applyClicked(); }));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancelButton);
    buttons->addWidget(applyButton);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(16, 12, 16, 12);
    page->setSpacing(12);
    page->addWidget(title);
    page->addLayout(warning);
    page->addLayout(form);
    page->addLayout(buttons);
    page->setSizeConstraint(QLayout::SetFixedSize);
}

void InnDialog::showEvent(QShowEvent* event) {
    dateEdit->setDate(QDate::currentDate());
    QDialog::showEvent(event);
}

void InnDialog::cancelClicked() {
    reject();
}

void InnDialog::applyClicked() {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    InnInput input;
    input.taxpayerNumber = innEdit->text();
    input.password = passwordEdit->text();
    input.date = dateEdit->date();
    input.groupIndex = groupCombo->currentIndex();
    const InnOutcome outcome = ProgramInn(input, Dialogs());
    if (outcome.focus == InnField::TaxpayerNumber) innEdit->setFocus();
    if (outcome.focus == InnField::Password) passwordEdit->setFocus();
    // "Нет" to the confirmation leaves the dialog as it was, to correct one
    // digit without typing everything again.
    if (!outcome.closeDialog || !outcome.sent) return;
    accept();
}
