#pragma once

#include "wizard/ui/EditorDialog.h"

class QCheckBox;

// The line editor, created once at start-up and reused by every grid page.
// The caller fills Edit1 and CheckBox1, shows it modally, then reads Accepted,
// Edit1 and CheckBox1. It does not shorten a wide text; the caller keeps 12.
class LineEditorDialog : public EditorDialog {
    Q_OBJECT
public:
    explicit LineEditorDialog(QWidget* parent = nullptr);

    QCheckBox* CheckBox1 = nullptr;  // "Широкий"
};

extern LineEditorDialog* SharedLineEditor;
