#pragma once

#include <QDialog>
#include <QVector>

#include "config/ConfigurationDiff.h"

class QLabel;
class QPushButton;
class QTableWidget;

// The differences between the device and the program, one row per item with
// the device's value beside the program's, and what the user does with them.
class ConfigurationDiffWindow : public QDialog {
    Q_OBJECT
public:
    enum Choice { Close, WriteToDevice, TakeFromDevice };

    ConfigurationDiffWindow(const QVector<ConfigurationDifference>& differences,
                            QWidget* parent = nullptr);

    Choice choice() const { return choice_; }

    QTableWidget* table = nullptr;
    QLabel* summaryLabel = nullptr;  // how many differ, how many could not be read
    QLabel* skippedLabel =
        nullptr;  // the differences the upload passes over; none when it writes all
    // The written differences the device would not hold as the program has
    // them; none when it holds them all.
    QLabel* inexactLabel = nullptr;
    QPushButton* writeButton = nullptr;  // "Загрузить в АС"
    QPushButton* takeButton = nullptr;   // "Взять из АС"
    QPushButton* closeButton = nullptr;  // "Закрыть"

private:
    Choice choice_ = Close;
};

// "Сравнить с АС": reads the device into a copy of the program's configuration
// (the download with its wait window and "Прервать", the forms after it),
// shows the differences, and writes the differing items to the device or takes
// the device's values into the program, as the user chooses. True when the
// program's configuration changed.
bool CompareConfigurationWithDevice(QWidget* parent);
