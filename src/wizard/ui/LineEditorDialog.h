#pragma once

#include "wizard/ui/EditorDialog.h"

class QCheckBox;

// The line editor, created once at start-up and reused by every grid page.
// The caller fills field and wideBox, shows it modally, then reads Accepted,
// field and wideBox. It does not shorten a wide text; the caller keeps 12.
class LineEditorDialog : public EditorDialog {
    Q_OBJECT
public:
    explicit LineEditorDialog(QWidget* parent = nullptr);

    QCheckBox* wideBox = nullptr;  // "Широкий"
};

extern LineEditorDialog* SharedLineEditor;
