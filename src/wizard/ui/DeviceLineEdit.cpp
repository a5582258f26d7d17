#include "wizard/ui/DeviceLineEdit.h"

#include <QLineEdit>

#include "wizard/DeviceLine.h"

void SetupDeviceLineEdit(QLineEdit* field) {
    field->setMaxLength(NarrowLineLength);
    QObject::connect(field, &QLineEdit::textEdited, field, [field](const QString& typed) {
        const QString kept = DeviceLineInput(typed);
        if (kept == typed) return;
        // Keep the cursor where the user was typing, as far as the text allows.
        const int cursor = field->cursorPosition() - int(typed.size() - kept.size());
        field->setText(kept);
        field->setCursorPosition(qBound(0, cursor, int(field->text().size())));
    });
}
