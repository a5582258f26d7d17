#include "shell/ui/DigitFilter.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>

#include "config/DigitKeyFilter.h"

namespace {

class DigitFieldGuard : public QObject {
public:
    DigitFieldGuard(QObject* parent, const QString& alsoAllowed, bool takesPaste)
        : QObject(parent), alsoAllowed_(alsoAllowed), takesPaste_(takesPaste) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        // Editing and navigation keys (Enter, Tab, Esc, Backspace) carry no
        // printable character and pass unchanged.
        const bool control =
            std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x20; });
        if (text.isEmpty() || control) return false;
        // A paste could bring letters in; where it is taken, textEdited below
        // holds it to the field's characters.
        if (key->matches(QKeySequence::Paste)) return !takesPaste_;
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
        for (QChar c : text) {
            if (alsoAllowed_.contains(c)) continue;
            QChar filtered = c;
            FilterDigitKey(filtered);
            if (filtered.isNull()) return true;
        }
        return false;
    }

private:
    QString alsoAllowed_;
    bool takesPaste_;
};

}  // namespace

void InstallDigitFilter(QLineEdit* field, const QString& allowed, DigitField kind) {
    const bool commaAsPoint = kind == DigitField::Decimal;
    const QString alsoAllowed = commaAsPoint ? allowed + QLatin1Char(',') : allowed;
    field->installEventFilter(new DigitFieldGuard(field, alsoAllowed, commaAsPoint));
    // The key filter sees key presses only; text that comes another way (an
    // input method, the selection pasted by the middle button) is held to the
    // same characters.
    QObject::connect(field, &QLineEdit::textEdited, field,
                     [field, alsoAllowed, commaAsPoint](const QString& edited) {
                         QString kept;
                         for (QChar c : edited) {
                             QChar filtered = c;
                             FilterDigitKey(filtered);
                             if (commaAsPoint && c == QLatin1Char(','))
                                 kept += QLatin1Char('.');
                             else if (!filtered.isNull() || alsoAllowed.contains(c))
                                 kept += c;
                         }
                         if (kept == edited) return;
                         const int cursor =
                             field->cursorPosition() - int(edited.size() - kept.size());
                         field->setText(kept);
                         field->setCursorPosition(qBound(0, cursor, int(kept.size())));
                     });
    if (!commaAsPoint) field->setContextMenuPolicy(Qt::NoContextMenu);
    field->setAcceptDrops(false);
}
