#pragma once

#include "wizard/ui/EditorDialog.h"

// The number editor, created once at start-up and reused: up to 4 digits.
// The caller fills Edit1, shows it modally, then reads Accepted and Edit1.
class NumberEditorDialog : public EditorDialog {
    Q_OBJECT
public:
    explicit NumberEditorDialog(QWidget* parent = nullptr);
};

extern NumberEditorDialog* SharedNumberEditor;
