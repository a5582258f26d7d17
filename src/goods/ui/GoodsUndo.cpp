#include "goods/ui/GoodsUndo.h"

#include <QUndoStack>
#include <utility>

#include "goods/GoodsTable.h"

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
    bool result = false;
    // An exception out of the edit still leaves what it did undoable.
    struct Push {
        QUndoStack& stack;
        GoodsTable& table;
        const QString& text;
        const GoodsChangeRecorder& recorder;
        ~Push() {
            GoodsTableChange change = recorder.finish(table);
            // The first redo puts back what is already there.
            if (!change.isEmpty()) stack.push(new GoodsUndoCommand(table, std::move(change), text));
        }
    } push{stack, table, text, recorder};
    result = edit();
    return result;
}
