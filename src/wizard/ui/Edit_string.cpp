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

TForm6::TForm6(QWidget* parent)
    : TEditorDialog(QStringLiteral("Редактирование строки..."), parent) {
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

    addButtons(layout);
}
