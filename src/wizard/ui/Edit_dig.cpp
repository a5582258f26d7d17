#include "wizard/ui/Edit_dig.h"

#include <QLineEdit>
#include <QVBoxLayout>

#include "config/ParameterCatalogue.h"
#include "config/Utils.h"
#include "shell/ui/DigitFilter.h"

TForm7* Form7 = nullptr;

TForm7::TForm7(QWidget* parent)
    : TEditorDialog(QStringLiteral("Редактирование числа...."), parent) {
    auto* layout = new QVBoxLayout(this);
    Edit1->setMaxLength(PasswordDigits);
    InstallDigitFilter(Edit1);
    // The key filter sees key presses only; text that comes another way (an
    // input method, the selection pasted by the middle button) is held to the
    // same characters, so that no letter reaches a password.
    connect(Edit1, &QLineEdit::textEdited, this, [this](const QString& edited) {
        QString kept;
        for (QChar c : edited) {
            QChar filtered = c;
            FilterDigitKey(filtered);
            if (!filtered.isNull()) kept += c;
        }
        if (kept == edited) return;
        const int cursor = Edit1->cursorPosition() - int(edited.size() - kept.size());
        Edit1->setText(kept);
        Edit1->setCursorPosition(qBound(0, cursor, int(kept.size())));
    });
    layout->addWidget(Edit1);

    addButtons(layout);
}
