#include "shell/ui/DeviceLineEdit.h"

#include <QLineEdit>
#include <memory>

#include "device/DeviceCharset.h"
#include "shell/UserDialogs.h"

void SetupDeviceLineEdit(QLineEdit* field, int maxLength) {
    // The field's own limit would drop the rest of a paste without a word;
    // the edit below holds the line's limit and says what it left out.
    field->setMaxLength(32767);
    // The text before each edit by the user (textEdited comes before the
    // textChanged of the same edit), so that only what the user put in is
    // made device text.
    auto before = std::make_shared<QString>(field->text());
    QObject::connect(field, &QLineEdit::textChanged, field,
                     [field, before] { *before = field->text(); });
    QObject::connect(
        field, &QLineEdit::textEdited, field, [field, before, maxLength](const QString& typed) {
            int cursor = field->cursorPosition();
            QString refused;
            QString kept = DeviceLineEdited(*before, typed, cursor, &refused);
            const int whole = int(kept.size());
            if (whole > maxLength && whole > int(before->size()))
                kept = LineCutToLength(kept, std::max(maxLength, int(before->size())), cursor);
            const int cut = whole - int(kept.size());
            // A key past the end is refused as the field's own limit would; a
            // paste or a drop that did not fit whole is told.
            const bool severalPut = typed.size() - before->size() > 1;
            if (kept != typed) {
                field->setText(kept);
                field->setCursorPosition(qBound(0, cursor, int(field->text().size())));
            }
            // Told after the field holds what it keeps, so that the box finds
            // the edit finished.
            if (!refused.isEmpty()) Dialogs().warning(RefusedCharactersMessage(refused));
            if (cut > 0 && severalPut) Dialogs().warning(LineCutMessage(maxLength, cut));
        });
}
