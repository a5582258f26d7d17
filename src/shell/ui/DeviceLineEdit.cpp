#include "shell/ui/DeviceLineEdit.h"

#include <QLineEdit>

#include "config/DeviceCharset.h"

void SetupDeviceLineEdit(QLineEdit* field, int maxLength) {
    field->setMaxLength(maxLength);
    QObject::connect(field, &QLineEdit::textEdited, field, [field](const QString& typed) {
        const QString kept = DeviceLineInput(typed);
        if (kept == typed) return;
        // Keep the cursor where the user was typing, as far as the text allows.
        const int cursor = field->cursorPosition() - int(typed.size() - kept.size());
        field->setText(kept);
        field->setCursorPosition(qBound(0, cursor, int(field->text().size())));
    });
}
