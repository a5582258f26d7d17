#include "wizard/ui/Edit_dig.h"

#include <QLineEdit>
#include <QVBoxLayout>

#include "config/ParameterCatalogue.h"
#include "shell/ui/DigitFilter.h"

TForm7* Form7 = nullptr;

TForm7::TForm7(QWidget* parent)
    : TEditorDialog(QStringLiteral("Редактирование числа...."), parent) {
    auto* layout = new QVBoxLayout(this);
    Edit1->setMaxLength(PasswordDigits);
    InstallDigitFilter(Edit1);
    layout->addWidget(Edit1);

    addButtons(layout);
}
