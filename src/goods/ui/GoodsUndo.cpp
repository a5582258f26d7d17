#include "goods/ui/GoodsUndo.h"

#include <QUndoStack>
#include <utility>

#include "goods/GoodsTable.h"
#include "shell/ui/UndoSteps.h"

GoodsUndoCommand::GoodsUndoCommand(GoodsTable& table, GoodsTableChange change, const QString& text)
    : QUndoCommand(text), table_(table), change_(std::move(change)) {}

void GoodsUndoCommand::undo() {
    RestoreBefore(table_, change_);
}

void GoodsUndoCommand::redo() {
    RestoreAfter(table_, change_);
}

bool RecordGoodsEdit(QUndoStack& stack, GoodsTable& table, const QString& text,
                     const std::function<bool()>& edit) {
    const GoodsChangeRecorder recorder(table);
    return RecordEdit(stack, edit, [&]() -> QUndoCommand* {
        GoodsTableChange change = recorder.finish(table);
        // The first redo puts back what is already there.
        return change.isEmpty() ? nullptr : new GoodsUndoCommand(table, std::move(change), text);
    });
}
