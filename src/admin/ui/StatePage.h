#pragma once

#include <QFrame>

class QLineEdit;
class QPushButton;
struct StateTexts;

// The device state page of the main window: one query, shown field by field.
// It keeps nothing between queries.
class StatePage : public QFrame {
    Q_OBJECT
public:
    explicit StatePage(QWidget* parent = nullptr);

    // "Состояние": empties every field, asks the device, fills the fields.
    void stateClicked();

    QLineEdit* TimeEdit = nullptr;
    QLineEdit* DateEdit = nullptr;
    QLineEdit* ModeCodeEdit = nullptr;
    QLineEdit* ModeTextEdit = nullptr;
    QLineEdit* SubModeCodeEdit = nullptr;
    QLineEdit* SubModeTextEdit = nullptr;
    QLineEdit* FlashCodeEdit = nullptr;
    QLineEdit* FlashTextEdit = nullptr;  // never shown
    QLineEdit* BatteryCodeEdit = nullptr;
    QLineEdit* BatteryTextEdit = nullptr;
    QLineEdit* DocumentNumberEdit = nullptr;
    QLineEdit* DocumentStateEdit = nullptr;
    QLineEdit* FactoryNumberEdit = nullptr;
    QLineEdit* InnEdit = nullptr;
    QPushButton* stateButton = nullptr;

    // The fourteen display fields in the order they are filled.
    QList<QLineEdit*> fields() const;

    // Empties every field: the values shown belong to the device last asked,
    // and another connection may lead to another device.
    void clearFields();

private:
    void fill(const StateTexts& texts);
};
