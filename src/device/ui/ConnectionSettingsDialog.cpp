#include "device/ui/ConnectionSettingsDialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "device/ConnectionSettings.h"
#include "device/PortNames.h"
#include "shell/ui/DigitFilter.h"
#include "shell/ui/Guarded.h"
#include "shell/ui/Labels.h"

ConnectionSettingsDialog::ConnectionSettingsDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Настройки подключения...."));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(470, 300);

    auto* basic = new QGroupBox(QStringLiteral("Основные"), this);
    basic->setGeometry(8, 6, 454, 128);
    ColouredLabel(QStringLiteral("Выберите COM порт подключения и скорость работы аппарата"), basic)
        ->setGeometry(10, 20, 440, 16);
    auto* portLabel = new QLabel(QStringLiteral("Порт:"), basic);
    portLabel->setGeometry(10, 44, 235, 20);
    ComboBox1 = new QComboBox(basic);
    ComboBox1->setGeometry(250, 42, 194, 22);
    ComboBox1->addItems(AvailablePortNames());
    ComboBox1->setCurrentIndex(0);
    auto* speedLabel = new QLabel(QStringLiteral("Скорость:"), basic);
    speedLabel->setGeometry(10, 70, 235, 20);
    ComboBox2 = new QComboBox(basic);
    ComboBox2->setGeometry(250, 68, 194, 22);
    ComboBox2->addItems(BaudRateChoices());
    ComboBox2->setCurrentIndex(6);
    auto* numberLabel = new QLabel(QStringLiteral("Зав. номер машины:"), basic);
    numberLabel->setGeometry(10, 96, 235, 20);
    Edit1 = new QLineEdit(QStringLiteral("0"), basic);
    Edit1->setGeometry(250, 94, 194, 22);
    // The record keeps 15 characters; longer input is refused as it is typed.
    Edit1->setMaxLength(15);

    auto* extra = new QGroupBox(QStringLiteral("Дополнительные"), this);
    extra->setGeometry(8, 140, 454, 114);
    ColouredLabel(QStringLiteral("Установите значение тайм-аутов в мс. Если вы затрудняетесь с "),
                  extra)
        ->setGeometry(10, 20, 440, 16);
    ColouredLabel(QStringLiteral("выбором, оставьте значения по умолчанию."), extra)
        ->setGeometry(10, 36, 440, 16);
    auto* byteLabel = new QLabel(QStringLiteral("Тайм-аут между приемом байт:"), extra);
    byteLabel->setGeometry(10, 58, 235, 20);
    Edit2 = new QLineEdit(QStringLiteral("250"), extra);
    Edit2->setGeometry(250, 56, 194, 22);
    auto* totalLabel = new QLabel(QStringLiteral("Общий тайм-аут:"), extra);
    totalLabel->setGeometry(10, 84, 235, 20);
    Edit3 = new QLineEdit(QStringLiteral("2500"), extra);
    Edit3->setGeometry(250, 82, 194, 22);
    for (QLineEdit* grey : {Edit2, Edit3})
        grey->setStyleSheet(QStringLiteral("QLineEdit { background: palette(button); }"));
    for (QLineEdit* field : {Edit1, Edit2, Edit3}) InstallDigitFilter(field);

    auto* cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setGeometry(270, 264, 90, 26);
    connect(cancel, &QPushButton::clicked, this, Guarded([this] { Button2Click(); }));
    auto* apply = new QPushButton(QStringLiteral("Применить"), this);
    apply->setGeometry(370, 264, 90, 26);
    apply->setDefault(true);
    connect(apply, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));

    if (parentWidget()) move(parentWidget()->geometry().center() - rect().center());
}

void ConnectionSettingsDialog::Button1Click() {
    ConnectionFields fields{ComboBox1->currentText(), ComboBox2->currentText(), Edit1->text(),
                            Edit2->text(), Edit3->text()};
    // The defaults go back into empty fields even when a later step fails.
    struct WriteBack {
        ConnectionFields& f;
        ConnectionSettingsDialog* d;
        ~WriteBack() {
            d->Edit1->setText(f.machineNumber);
            d->Edit2->setText(f.byteTimeout);
            d->Edit3->setText(f.totalTimeout);
        }
    } writeBack{fields, this};
    ApplyConnectionFields(fields, CurrentPortSettings());
    applied_ = true;
    accept();
}

void ConnectionSettingsDialog::Button2Click() {
    CancelConnectionFields(CurrentPortSettings());
    applied_ = false;
    QDialog::reject();
}

void ConnectionSettingsDialog::reject() {
    Button2Click();
}
