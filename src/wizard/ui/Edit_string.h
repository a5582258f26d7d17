#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

// The line editor, created once at start-up and reused by every grid page.
// The caller fills Edit1 and CheckBox1, shows it modally, then reads Accepted,
// Edit1 and CheckBox1. It does not shorten a wide text; the caller keeps 12.
class TForm6 : public QDialog {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);

    bool Accepted = false;
    QLineEdit* Edit1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;  // "Широкий"
    QPushButton* Button1 = nullptr;  // "Применить"
    QPushButton* Button2 = nullptr;  // "Отмена"

    void Edit1KeyPress();  // Enter
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;  // Esc: as "Отмена"
};

extern TForm6* Form6;
