#pragma once

// What every page with an undo stack shares: the way an edit becomes one
// step, and the "Отменить" / "Повторить" actions with their keys and their
// context menu.

#include <QUndoStack>
#include <Qt>

class QAction;
class QMenu;
class QWidget;

// Runs `edit`, which changes the page's data as it likes (an editor, a
// clearing, a choice), then pushes onto `stack` the step `finish` makes of
// what it changed (nullptr when nothing did). Pushed also when `edit` throws:
// what it did before is undoable all the same. Returns what `edit` returns.
template <typename Edit, typename Finish>
auto RecordEdit(QUndoStack& stack, Edit&& edit, Finish&& finish) -> decltype(edit()) {
    struct Push {
        QUndoStack& stack;
        Finish& finish;
        ~Push() {
            if (QUndoCommand* step = finish()) stack.push(step);
        }
    } push{stack, finish};
    return edit();
}

struct UndoActions {
    QAction* undo = nullptr;  // "Отменить", Ctrl+Z
    QAction* redo = nullptr;  // "Повторить", Ctrl+Y
};

// The two actions on `owner`, their keys taken in `context`, enabled as
// `stack` allows, each run as a user action (refused while the device is
// busy). A focused text field keeps its own Ctrl+Z.
UndoActions AddUndoActions(QWidget* owner, QUndoStack* stack, Qt::ShortcutContext context);

// A context menu on `widget` that offers the two actions.
QMenu* AddUndoMenu(QWidget* widget, const UndoActions& actions);
