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

    Edit1 = new QLineEdit(QStringLiteral("0"), this);
    Edit1->setMaxLength(InnMaxDigits);
    InstallDigitFilter(Edit1);
    Edit2 = new QLineEdit(QStringLiteral("0"), this);
    Edit2->setMaxLength(InnPasswordMaxDigits);
    InstallDigitFilter(Edit2);

    const QLocale russian(QLocale::Russian, QLocale::Russia);
    DateTimePicker1 = new QDateEdit(this);
    DateTimePicker1->setLocale(russian);
    DateTimePicker1->setDisplayFormat(russian.dateFormat(QLocale::LongFormat));
    DateTimePicker1->setCalendarPopup(true);
    // The device keeps the year as one byte counted from 2000.
    DateTimePicker1->setDateRange(QDate(2000, 1, 1), QDate(2255, 12, 31));
    DateTimePicker1->setDate(QDate::currentDate());

    ComboBox1 = new QComboBox(this);
    ComboBox1->addItems(
        {QStringLiteral("Группа 1"), QStringLiteral("Группа 2"), QStringLiteral("Группа 3")});
    ComboBox1->setCurrentIndex(0);

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    Edit1->setFixedWidth(160);
    Edit2->setFixedWidth(160);
    // Room for the longest long-format date (weekday and month in words).
    const QString longest = russian.toString(QDate(2000, 9, 24), QLocale::LongFormat);
    DateTimePicker1->setFixedWidth(DateTimePicker1->fontMetrics().horizontalAdvance(longest) + 48);
    ComboBox1->setFixedWidth(160);
    form->addRow(QStringLiteral("ИНН:"), Edit1);
    form->addRow(QStringLiteral("Пароль:"), Edit2);
    form->addRow(QStringLiteral("Дата:"), DateTimePicker1);
    form->addRow(QStringLiteral("Группа:"), ComboBox1);

    Button1 = new QPushButton(QStringLiteral("Отмена"), this);
    Button2 = new QPushButton(QStringLiteral("Применить"), this);
    Button1->setAutoDefault(false);
    Button2->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, Guarded([this] { Button2Click(); }));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);

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
    DateTimePicker1->setDate(QDate::currentDate());
    QDialog::showEvent(event);
}

void InnDialog::Button1Click() {
    reject();
}

void InnDialog::Button2Click() {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    InnInput input;
    input.taxpayerNumber = Edit1->text();
    input.password = Edit2->text();
    input.date = DateTimePicker1->date();
    input.groupIndex = ComboBox1->currentIndex();
    const InnOutcome outcome = ProgramInn(input, Dialogs());
    if (outcome.focus == InnField::TaxpayerNumber) Edit1->setFocus();
    if (outcome.focus == InnField::Password) Edit2->setFocus();
    if (!outcome.closeDialog) return;
    if (outcome.sent)
        accept();
    else
        reject();
}
