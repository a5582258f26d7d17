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

    void cancelClicked();  // "Отмена"
    void applyClicked();   // "Применить"

    QLineEdit* innEdit = nullptr;       // ИНН
    QLineEdit* passwordEdit = nullptr;  // password
    QDateEdit* dateEdit = nullptr;      // date
    QComboBox* groupCombo = nullptr;    // group
    QPushButton* cancelButton = nullptr;
    QPushButton* applyButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};
