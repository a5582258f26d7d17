#include "shell/ui/FieldUndo.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {

class RedoKey : public QObject {
public:
    explicit RedoKey(QLineEdit* field) : QObject(field), field_(field) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool override = event->type() == QEvent::ShortcutOverride;
        if (watched != field_ || (!override && event->type() != QEvent::KeyPress))
            return QObject::eventFilter(watched, event);
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (key->key() != Qt::Key_Y || modifiers != Qt::ControlModifier || field_->isReadOnly())
            return QObject::eventFilter(watched, event);
        key->accept();
        if (!override) field_->redo();
        return true;
    }

private:
    QLineEdit* field_;
};

}  // namespace

void AddFieldRedoKey(QLineEdit* field) {
    field->installEventFilter(new RedoKey(field));
}
