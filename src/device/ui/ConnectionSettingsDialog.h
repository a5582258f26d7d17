#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;

// The connection settings dialog. Created for each opening, so it always shows
// the defaults, never the values in force.
class ConnectionSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit ConnectionSettingsDialog(QWidget* parent = nullptr);

    // True once "Применить" has stored the fields and closed the dialog.
    bool applied() const { return applied_; }

    QComboBox* ComboBox1 = nullptr;  // port
    QComboBox* ComboBox2 = nullptr;  // speed
    QLineEdit* Edit1 = nullptr;      // machine number
    QLineEdit* Edit2 = nullptr;      // byte time-out
    QLineEdit* Edit3 = nullptr;      // total time-out

    void Button1Click();  // "Применить"
    void Button2Click();  // "Отмена"

protected:
    void reject() override;  // Esc acts as "Отмена"

private:
    bool applied_ = false;
};
