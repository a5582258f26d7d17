#pragma once

#include <QDialog>

// The "Помощник" host window; created for each opening.
class TForm5 : public QDialog {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);
};
