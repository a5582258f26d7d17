#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The wait window: shown without blocking while a long device operation runs.
class WaitWindow : public QDialog {
    Q_OBJECT
public:
    explicit WaitWindow(QWidget* parent = nullptr);
    QLabel* operationLabel = nullptr;  // the operation text
    QLabel* hintLabel = nullptr;       // "Дождитесь окончания ..."
    QLabel* countLabel = nullptr;  // "Загрузка товаров: 517 из 1001"; empty until a step
    // "Прервать": the one control that takes input while a transfer runs.
    QPushButton* stopButton = nullptr;

protected:
    void reject() override {}  // Esc does not close it; the operation does
};
