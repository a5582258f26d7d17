#pragma once

#include "wizard/ui/EditorDialog.h"

class QLabel;

// The operator's password editor, created once at start-up and reused: up to
// 4 digits. The caller fills field, shows it modally, then reads Accepted and
// field. A key the field does not take is named under it.
class NumberEditorDialog : public EditorDialog {
    Q_OBJECT
public:
    explicit NumberEditorDialog(QWidget* parent = nullptr);

    QLabel* fieldLabel = nullptr;  // what the field takes
    QLabel* noteLabel = nullptr;   // empty until a key is not taken

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
};

extern NumberEditorDialog* SharedNumberEditor;
