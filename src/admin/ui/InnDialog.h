#pragma once

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

// The taxpayer number (ИНН) programming dialog; created for each opening, so
// it always starts from its initial values.
class InnDialog : public QDialog {
    Q_OBJECT
public:
    explicit InnDialog(QWidget* parent = nullptr);

    void Button1Click();  // "Отмена"
    void Button2Click();  // "Применить"

    QLineEdit* Edit1 = nullptr;            // ИНН
    QLineEdit* Edit2 = nullptr;            // password
    QDateEdit* DateTimePicker1 = nullptr;  // date
    QComboBox* ComboBox1 = nullptr;        // group
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};
