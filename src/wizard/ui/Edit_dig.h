#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// The number editor, created once at start-up and reused: up to 4 digits.
// The caller fills Edit1, shows it modally, then reads Accepted and Edit1.
class TForm7 : public QDialog {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);

    bool Accepted = false;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;  // "Применить"
    QPushButton* Button2 = nullptr;  // "Отмена"

    void Edit1KeyPress();  // Enter
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;  // Esc: as "Отмена"
};

extern TForm7* Form7;
