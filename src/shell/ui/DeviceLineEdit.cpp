#include "shell/ui/DeviceLineEdit.h"

#include <QLineEdit>
#include <memory>

#include "config/DeviceCharset.h"
#include "shell/UserDialogs.h"

void SetupDeviceLineEdit(QLineEdit* field, int maxLength) {
    field->setMaxLength(maxLength);
    // The text before each edit by the user (textEdited comes before the
    // textChanged of the same edit), so that only what the user put in is
    // made device text.
    auto before = std::make_shared<QString>(field->text());
    QObject::connect(field, &QLineEdit::textChanged, field,
                     [field, before] { *before = field->text(); });
    QObject::connect(field, &QLineEdit::textEdited, field, [field, before](const QString& typed) {
        int cursor = field->cursorPosition();
        QString refused;
        const QString kept = DeviceLineEdited(*before, typed, cursor, &refused);
        if (kept != typed) {
            field->setText(kept);
            field->setCursorPosition(qBound(0, cursor, int(field->text().size())));
        }
        // Told after the field holds what it keeps, so that the box finds
        // the edit finished.
        if (!refused.isEmpty()) Dialogs().warning(RefusedCharactersMessage(refused));
    });
}
