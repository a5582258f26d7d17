#include "wizard/ui/NumberEditorDialog.h"

#include <QLineEdit>
#include <QVBoxLayout>

#include "config/ParameterCatalogue.h"
#include "shell/ui/DigitFilter.h"

NumberEditorDialog* SharedNumberEditor = nullptr;

NumberEditorDialog::NumberEditorDialog(QWidget* parent)
    : EditorDialog(QStringLiteral("Редактирование числа...."), parent) {
    auto* layout = new QVBoxLayout(this);
    field->setMaxLength(PasswordDigits);
    InstallDigitFilter(field);
    layout->addWidget(field);

    addButtons(layout);
}
