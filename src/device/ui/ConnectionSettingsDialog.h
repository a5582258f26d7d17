#pragma once

#include <QDialog>
#include <QStringList>

struct ConnectionFields;
class QComboBox;
class QLineEdit;
class QPushButton;

// The connection settings dialog. Created for each opening; it opens on the
// values in force, or before the first "Применить" of a run on those applied
// last time (InitialConnectionFields).
class ConnectionSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit ConnectionSettingsDialog(QWidget* parent = nullptr);

    // True once "Применить" has stored the fields and closed the dialog.
    bool applied() const { return applied_; }

    QComboBox* portCombo = nullptr;          // port: shows PortEntryText, holds the name
    QComboBox* speedCombo = nullptr;         // speed
    QLineEdit* machineNumberEdit = nullptr;  // machine number
    QLineEdit* byteTimeoutEdit = nullptr;    // byte time-out
    QLineEdit* totalTimeoutEdit = nullptr;   // total time-out

    // Opens the program's exchange log window beside the dialog.
    QPushButton* exchangeLogButton = nullptr;

    // The ports "Найти АС" asks besides the selected one: the system's serial
    // ports when the dialog opened; a test puts its pseudo-terminal here.
    QStringList searchPorts;

    void applyClicked();       // "Применить"
    void cancelClicked();      // "Отмена"
    void findDeviceClicked();  // "Найти АС"
    // The port name the settings store for the chosen entry.
    QString chosenPortName() const;

protected:
    void reject() override;  // Esc acts as "Отмена"

private:
    void showFields(const ConnectionFields& fields);

    bool applied_ = false;
};
