#pragma once

#include <QUndoCommand>
#include <functional>

#include "goods/GoodsTableEdits.h"

class GoodsTable;
class QUndoStack;

// One step of the goods table on the page's undo stack.
class GoodsUndoCommand : public QUndoCommand {
public:
    GoodsUndoCommand(GoodsTable& table, GoodsTableChange change, const QString& text);
    void undo() override;
    void redo() override;

private:
    GoodsTable& table_;
    GoodsTableChange change_;
};

// Runs `edit`, which changes the table as it likes (a file, the editor, a
// read), and puts what it changed on the stack; a step that changed nothing
// leaves the stack alone. The edit's result is returned.
bool RecordGoodsEdit(QUndoStack& stack, GoodsTable& table, const QString& text,
                     const std::function<bool()>& edit);
