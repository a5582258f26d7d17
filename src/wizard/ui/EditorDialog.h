#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QVBoxLayout;

// What the line and number editors share: one edit field, "Применить" and
// "Отмена", Enter as "Применить", Esc as "Отмена", and the Accepted flag the
// caller reads after the modal run. Created once and reused.
class EditorDialog : public QDialog {
    Q_OBJECT
public:
    bool Accepted = false;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;  // "Применить"
    QPushButton* Button2 = nullptr;  // "Отмена"

    void Edit1KeyPress();  // Enter
    void Button1Click();
    void Button2Click();

protected:
    EditorDialog(const QString& caption, QWidget* parent);
    // Puts the two buttons at the bottom of the editor's layout.
    void addButtons(QVBoxLayout* layout);
    void showEvent(QShowEvent* event) override;
    void reject() override;  // Esc: as "Отмена"
};
