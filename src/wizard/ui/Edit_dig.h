#pragma once

#include "wizard/ui/EditorDialog.h"

// The number editor, created once at start-up and reused: up to 4 digits.
// The caller fills Edit1, shows it modally, then reads Accepted and Edit1.
class TForm7 : public TEditorDialog {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);
};

extern TForm7* Form7;
