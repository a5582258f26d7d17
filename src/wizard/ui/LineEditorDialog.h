#pragma once

#include "wizard/ui/EditorDialog.h"

class QCheckBox;

// The line editor, created once at start-up and reused by every grid page.
// The caller fills field and wideBox, shows it modally, then reads Accepted,
// field and wideBox. "Применить" refuses a text longer than its width takes
// (24 narrow, 12 wide), as the goods editor does, rather than have it cut.
class LineEditorDialog : public EditorDialog {
    Q_OBJECT
public:
    explicit LineEditorDialog(QWidget* parent = nullptr);

    QCheckBox* wideBox = nullptr;  // "Широкий"

protected:
    bool entryAcceptable() override;
};

extern LineEditorDialog* SharedLineEditor;
