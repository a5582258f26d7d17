#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QVBoxLayout;

// What the line and number editors share: one edit field, "Применить" and
// "Отмена", Enter as "Применить", Esc as "Отмена", Tab from the field to the
// buttons, and the Accepted flag the
// caller reads after the modal run. Created once and reused.
class EditorDialog : public QDialog {
    Q_OBJECT
public:
    bool Accepted = false;
    QLineEdit* field = nullptr;
    QPushButton* applyButton = nullptr;   // "Применить"
    QPushButton* cancelButton = nullptr;  // "Отмена"

    void enterPressed();  // Enter
    void applyClicked();
    void cancelClicked();

protected:
    EditorDialog(const QString& caption, QWidget* parent);
    // Puts the two buttons at the bottom of the editor's layout.
    void addButtons(QVBoxLayout* layout);
    void showEvent(QShowEvent* event) override;
    // "Применить" closes the editor only when this says the entry fits.
    virtual bool entryAcceptable() { return true; }
    void reject() override;  // Esc: as "Отмена"
};
