#include "shell/ui/DeviceLineEdit.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <algorithm>
#include <memory>

#include "device/DeviceCharset.h"
#include "shell/UserDialogs.h"
#include "shell/ui/FieldUndo.h"

namespace {

// The line's limit lives on the field, so that a page can change it (a wide
// line takes half as many characters).
const char* const LimitProperty = "deviceLineLimit";

int LimitOf(const QLineEdit* field) {
    return field->property(LimitProperty).toInt();
}

// Typed keys and pastes are made device text before the field takes them,
// and go in through the field's own insert: its history then holds only what
// the field showed, so that its Ctrl+Z and Ctrl+Y never bring back the small
// letters the user typed (an edit made good afterwards would leave them there
// as a step of their own).
class DeviceInput : public QObject {
public:
    explicit DeviceInput(QLineEdit* field) : QObject(field), field_(field) {}

    // Puts `text` where the selection or the cursor is, as a typed key
    // (`typed`) or a paste: what the device cannot print is left out and
    // named, and what does not fit the line is refused (a key) or cut and told.
    void put(const QString& text, bool typed) {
        QString refused;
        QString kept = DeviceLineInput(text, &refused);
        const int now = int(field_->text().size());
        const int rest = now - int(field_->selectedText().size());
        // A line longer than the limit (a stored one) may keep its length.
        const int limit = LimitOf(field_);
        const int room = std::max(0, std::max(limit, now) - rest);
        const int cut = std::max(0, int(kept.size()) - room);
        kept.truncate(room);
        // As the field would: the selection goes even when nothing is put in its place.
        if (!kept.isEmpty() || field_->hasSelectedText()) field_->insert(kept);
        // Told after the field holds what it keeps, so that the box finds
        // the edit finished.
        if (!refused.isEmpty()) Dialogs().warning(RefusedCharactersMessage(refused));
        // A key past the end is refused as the field's own limit would; a
        // paste that did not fit whole is told.
        if (cut > 0 && !typed) Dialogs().warning(LineCutMessage(limit, cut));
    }

    void paste() {
        if (field_->isReadOnly()) return;
        const QString pasted = QGuiApplication::clipboard()->text();
        if (!pasted.isEmpty()) put(pasted, false);
    }

    void showMenu(const QPoint& pos) {
        std::unique_ptr<QMenu> menu(field_->createStandardContextMenu());
        for (QAction* action : menu->actions()) {
            if (action->objectName() != QStringLiteral("edit-paste")) continue;
            QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
            QObject::connect(action, &QAction::triggered, this, [this] { paste(); });
        }
        menu->exec(field_->mapToGlobal(pos));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Only keys and input methods: the field's destructor still sends
        // events, when it is no QLineEdit any more.
        const bool inputMethod = event->type() == QEvent::InputMethod;
        if (watched != field_ || (!inputMethod && event->type() != QEvent::KeyPress) ||
            field_->isReadOnly())
            return QObject::eventFilter(watched, event);
        if (inputMethod) {
            // A committed text with nothing being composed is a paste of its own.
            const auto* input = static_cast<QInputMethodEvent*>(event);
            if (input->commitString().isEmpty() || !input->preeditString().isEmpty() ||
                input->replacementLength() != 0)
                return QObject::eventFilter(watched, event);
            put(input->commitString(), false);
            return true;
        }
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste)) {
            paste();
            return true;
        }
        const QString text = key->text();
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        const bool control = modifiers == Qt::ControlModifier ||
                             modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
        if (text.isEmpty() || !text.at(0).isPrint() || control)
            return QObject::eventFilter(watched, event);
        put(text, true);
        return true;
    }

private:
    QLineEdit* field_;
};

}  // namespace

void SetupDeviceLineEdit(QLineEdit* field, int maxLength) {
    // The field's own limit would drop the rest of a paste without a word;
    // the edit below holds the line's limit and says what it left out.
    field->setMaxLength(32767);
    SetDeviceLineLimit(field, maxLength);
    auto* input = new DeviceInput(field);
    field->installEventFilter(input);
    field->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(field, &QWidget::customContextMenuRequested, input,
                     [input](const QPoint& pos) { input->showMenu(pos); });
    // What comes in another way (a drop, the selection pasted by the middle
    // button) is held to the same rules when it is in; the field's history
    // starts again there.
    // The text before each edit by the user (textEdited comes before the
    // textChanged of the same edit), so that only what the user put in is
    // made device text.
    auto before = std::make_shared<QString>(field->text());
    QObject::connect(field, &QLineEdit::textChanged, field,
                     [field, before] { *before = field->text(); });
    QObject::connect(field, &QLineEdit::textEdited, field, [field, before](const QString& typed) {
        // The field's own undo and redo bring back only what it held.
        if (field->isRedoAvailable()) return;
        int cursor = field->cursorPosition();
        QString refused;
        QString kept = DeviceLineEdited(*before, typed, cursor, &refused);
        const int maxLength = LimitOf(field);
        const int whole = int(kept.size());
        if (whole > maxLength && whole > int(before->size()))
            kept = LineCutToLength(kept, std::max(maxLength, int(before->size())), cursor);
        const int cut = whole - int(kept.size());
        const bool severalPut = typed.size() - before->size() > 1;
        if (kept != typed) {
            field->setText(kept);
            field->setCursorPosition(qBound(0, cursor, int(field->text().size())));
        }
        if (!refused.isEmpty()) Dialogs().warning(RefusedCharactersMessage(refused));
        if (cut > 0 && severalPut) Dialogs().warning(LineCutMessage(maxLength, cut));
    });
    AddFieldRedoKey(field);
}

void SetDeviceLineLimit(QLineEdit* field, int maxLength) {
    field->setProperty(LimitProperty, maxLength);
}
