#pragma once

#include "wizard/ui/EditorDialog.h"

// The number editor, created once at start-up and reused: up to 4 digits.
// The caller fills field, shows it modally, then reads Accepted and field.
class NumberEditorDialog : public EditorDialog {
    Q_OBJECT
public:
    explicit NumberEditorDialog(QWidget* parent = nullptr);
};

extern NumberEditorDialog* SharedNumberEditor;
