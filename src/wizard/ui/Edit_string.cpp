#include "wizard/ui/Edit_string.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "wizard/ui/DeviceLineEdit.h"
#include "wizard/ui/WizardPage.h"

TForm6* Form6 = nullptr;

TForm6::TForm6(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Редактирование строки..."));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto* layout = new QVBoxLayout(this);
    for (const QString& text :
         {QStringLiteral("Все программируемые строки имеют длину до 24 символов"),
          QStringLiteral("узким шрифтом или до 12 символов широким шрифтом.")}) {
        auto* label = new QLabel(text, this);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, PageTextColor());
        label->setPalette(palette);
        layout->addWidget(label);
    }

    Edit1 = new QLineEdit(this);
    QFont mono(QStringLiteral("Courier"));
    mono.setStyleHint(QFont::TypeWriter);
    mono.setPixelSize(16);
    Edit1->setFont(mono);
    SetupDeviceLineEdit(Edit1);
    // Room for the 24 characters the field takes.
    Edit1->setMinimumWidth(QFontMetrics(mono).horizontalAdvance(QString(26, QChar(u'Ш'))));
    layout->addWidget(Edit1);

    CheckBox1 = new QCheckBox(QStringLiteral("Широкий"), this);
    layout->addWidget(CheckBox1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    Button2 = new QPushButton(QStringLiteral("Отмена"), this);
    Button1 = new QPushButton(QStringLiteral("Применить"), this);
    for (QPushButton* b : {Button1, Button2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Edit1, &QLineEdit::returnPressed, this, &TForm6::Edit1KeyPress);
    connect(Button1, &QPushButton::clicked, this, &TForm6::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm6::Button2Click);
}

void TForm6::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Accepted = false;
    Edit1->setFocus();
    Edit1->deselect();
    Edit1->end(false);
}

void TForm6::Edit1KeyPress() {
    Button1Click();
}

void TForm6::Button1Click() {
    Accepted = true;
    done(QDialog::Accepted);
}

void TForm6::Button2Click() {
    Accepted = false;
    done(QDialog::Rejected);
}

void TForm6::reject() {
    Button2Click();
}
