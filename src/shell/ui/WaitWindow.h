#pragma once

#include <QDialog>

class QLabel;

// The wait window: shown without blocking while a long device operation runs.
class WaitWindow : public QDialog {
    Q_OBJECT
public:
    explicit WaitWindow(QWidget* parent = nullptr);
    QLabel* operationLabel = nullptr;  // the operation text
    QLabel* hintLabel = nullptr;       // "Дождитесь окончания ..."

protected:
    void reject() override {}  // Esc does not close it; the operation does
};
