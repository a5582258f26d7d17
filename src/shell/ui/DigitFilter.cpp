#include "shell/ui/DigitFilter.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <algorithm>
#include <utility>

#include "config/DigitKeyFilter.h"
#include "shell/UserDialogs.h"
#include "shell/ui/FieldUndo.h"

namespace {

// What a digit field keeps of `text`: the digits and `alsoAllowed`, a comma as
// the point it stands for where `commaAsPoint`.
QString HeldDigits(const QString& text, const QString& alsoAllowed, bool commaAsPoint) {
    QString kept;
    for (QChar c : text) {
        QChar filtered = c;
        FilterDigitKey(filtered);
        if (commaAsPoint && c == QLatin1Char(','))
            kept += QLatin1Char('.');
        else if (!filtered.isNull() || alsoAllowed.contains(c))
            kept += c;
    }
    return kept;
}

class DigitFieldGuard : public QObject {
public:
    DigitFieldGuard(QObject* parent, const QString& alsoAllowed, bool takesPaste)
        : QObject(parent), alsoAllowed_(alsoAllowed), takesPaste_(takesPaste) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::InputMethod) return holdInput(watched, event);
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
        // A comma is put in as the point it stands for, as a typed key, so
        // that the field's own undo keeps it.
        if (takesPaste_ && text == QStringLiteral(",")) {
            if (auto* field = qobject_cast<QLineEdit*>(watched)) field->insert(QStringLiteral("."));
            return true;
        }
        for (QChar c : text) {
            if (alsoAllowed_.contains(c)) continue;
            QChar filtered = c;
            FilterDigitKey(filtered);
            if (filtered.isNull()) return true;
        }
        return false;
    }

private:
    // An input method's text is held to the field's characters before the
    // field takes it, as keys are, so that the field's Ctrl+Z finds only what
    // it showed.
    bool holdInput(QObject* watched, QEvent* event) {
        auto* field = qobject_cast<QLineEdit*>(watched);
        const auto* input = static_cast<QInputMethodEvent*>(event);
        if (!field || input->commitString().isEmpty() || !input->preeditString().isEmpty() ||
            input->replacementLength() != 0)
            return false;
        QString kept = HeldDigits(input->commitString(), alsoAllowed_, takesPaste_);
        const int room =
            field->maxLength() - int(field->text().size() - field->selectedText().size());
        kept.truncate(std::max(0, room));
        if (!kept.isEmpty() || field->hasSelectedText()) field->insert(kept);
        return true;
    }

    QString alsoAllowed_;
    bool takesPaste_;
};

}  // namespace

void InstallDigitFilter(QLineEdit* field, const QString& allowed, DigitField kind) {
    const bool commaAsPoint = kind == DigitField::Decimal;
    const QString alsoAllowed = commaAsPoint ? allowed + QLatin1Char(',') : allowed;
    field->installEventFilter(new DigitFieldGuard(field, alsoAllowed, commaAsPoint));
    // The key filter sees key presses and an input method's text; what comes
    // another way (the selection pasted by the middle button) is held to the
    // same characters when it is in, and the field's history starts again there.
    QObject::connect(field, &QLineEdit::textEdited, field,
                     [field, alsoAllowed, commaAsPoint](const QString& edited) {
                         const QString kept = HeldDigits(edited, alsoAllowed, commaAsPoint);
                         if (kept == edited) return;
                         const int cursor =
                             field->cursorPosition() - int(edited.size() - kept.size());
                         field->setText(kept);
                         field->setCursorPosition(qBound(0, cursor, int(kept.size())));
                     });
    AddFieldRedoKey(field);
    if (!commaAsPoint) field->setContextMenuPolicy(Qt::NoContextMenu);
    field->setAcceptDrops(false);
}

namespace {

class PasteConversion : public QObject {
public:
    PasteConversion(QLineEdit* field, std::function<std::optional<QString>(const QString&)> convert,
                    const QString& refusal)
        : QObject(field), field_(field), convert_(std::move(convert)), refusal_(refusal) {}

    void paste() {
        const QString pasted = QGuiApplication::clipboard()->text();
        if (pasted.isEmpty()) return;
        const std::optional<QString> converted = convert_(pasted);
        const int room =
            field_->maxLength() - int(field_->text().size() - field_->selectedText().size());
        if (!converted || converted->size() > room) {
            Dialogs().warning(refusal_);
            return;
        }
        field_->insert(*converted);
    }

    void showMenu(const QPoint& pos) {
        QMenu* menu = field_->createStandardContextMenu();
        for (QAction* action : menu->actions()) {
            if (action->objectName() != QStringLiteral("edit-paste")) continue;
            QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
            QObject::connect(action, &QAction::triggered, this, [this] { paste(); });
        }
        menu->exec(field_->mapToGlobal(pos));
        delete menu;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
            paste();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QLineEdit* field_;
    std::function<std::optional<QString>(const QString&)> convert_;
    QString refusal_;
};

}  // namespace

void InstallPasteConversion(QLineEdit* field,
                            std::function<std::optional<QString>(const QString&)> convert,
                            const QString& refusal) {
    auto* conversion = new PasteConversion(field, std::move(convert), refusal);
    // Installed last, so it sees the paste key before the key filter does.
    field->installEventFilter(conversion);
    field->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(field, &QWidget::customContextMenuRequested, conversion,
                     [conversion](const QPoint& pos) { conversion->showMenu(pos); });
}
