#include "wizard/ui/NumberEditorDialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/ParameterCatalogue.h"
#include "shell/ui/DigitFilter.h"

NumberEditorDialog* SharedNumberEditor = nullptr;

NumberEditorDialog::NumberEditorDialog(QWidget* parent)
    : EditorDialog(QStringLiteral("Редактирование числа...."), parent) {
    auto* layout = new QVBoxLayout(this);
    fieldLabel =
        new QLabel(QStringLiteral("&Пароль оператора (до %1 цифр):").arg(PasswordDigits), this);
    fieldLabel->setBuddy(field);
    layout->addWidget(fieldLabel);
    field->setMaxLength(PasswordDigits);
    InstallDigitFilter(field);
    // Installed after the digit filter, so it sees each key first.
    field->installEventFilter(this);
    layout->addWidget(field);
    noteLabel = new QLabel(this);
    noteLabel->setWordWrap(true);
    layout->addWidget(noteLabel);

    addButtons(layout);
    setTabOrder(field, applyButton);
    setTabOrder(applyButton, cancelButton);
}

void NumberEditorDialog::showEvent(QShowEvent* event) {
    noteLabel->clear();
    EditorDialog::showEvent(event);
}

bool NumberEditorDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        const bool printable = !text.isEmpty() && text.at(0).isPrint() &&
                               !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (printable) {
            bool digits = true;
            for (QChar c : text) digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
            if (!digits)
                noteLabel->setText(
                    QStringLiteral("«%1» не введено: пароль состоит только из цифр.").arg(text));
            else if (field->text().size() >= PasswordDigits && !field->hasSelectedText())
                noteLabel->setText(
                    QStringLiteral("В пароле не больше %1 цифр.").arg(PasswordDigits));
            else
                noteLabel->clear();
        }
    }
    return EditorDialog::eventFilter(watched, event);
}
