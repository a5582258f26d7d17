#include "shell/ui/UndoSteps.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QMenu>
#include <QWidget>

#include "shell/ui/Guarded.h"

UndoActions AddUndoActions(QWidget* owner, QUndoStack* stack, Qt::ShortcutContext context) {
    UndoActions actions;
    actions.undo = new QAction(QStringLiteral("Отменить"), owner);
    actions.undo->setShortcut(QKeySequence::Undo);
    actions.redo = new QAction(QStringLiteral("Повторить"), owner);
    // Ctrl+Y everywhere, and the system's own redo key where it is another.
    QList<QKeySequence> redoKeys = {QKeySequence(Qt::CTRL | Qt::Key_Y)};
    if (QKeySequence(QKeySequence::Redo) != redoKeys.first())
        redoKeys << QKeySequence(QKeySequence::Redo);
    actions.redo->setShortcuts(redoKeys);
    for (QAction* action : {actions.undo, actions.redo}) {
        action->setShortcutContext(context);
        owner->addAction(action);
    }
    actions.undo->setEnabled(stack->canUndo());
    actions.redo->setEnabled(stack->canRedo());
    actions.undo->setToolTip(stack->undoText());
    actions.redo->setToolTip(stack->redoText());
    QObject::connect(stack, &QUndoStack::canUndoChanged, actions.undo, &QAction::setEnabled);
    QObject::connect(stack, &QUndoStack::canRedoChanged, actions.redo, &QAction::setEnabled);
    QObject::connect(stack, &QUndoStack::undoTextChanged, actions.undo, &QAction::setToolTip);
    QObject::connect(stack, &QUndoStack::redoTextChanged, actions.redo, &QAction::setToolTip);
    QObject::connect(actions.undo, &QAction::triggered, stack, Guarded([stack] { stack->undo(); }));
    QObject::connect(actions.redo, &QAction::triggered, stack, Guarded([stack] { stack->redo(); }));
    return actions;
}

QMenu* AddUndoMenu(QWidget* widget, const UndoActions& actions) {
    auto* menu = new QMenu(widget);
    menu->addAction(actions.undo);
    menu->addAction(actions.redo);
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(widget, &QWidget::customContextMenuRequested, menu,
                     [widget, menu](const QPoint& pos) {
                         QWidget* on = widget;
                         if (auto* area = qobject_cast<QAbstractScrollArea*>(widget))
                             on = area->viewport();
                         menu->popup(on->mapToGlobal(pos));
                     });
    return menu;
}
