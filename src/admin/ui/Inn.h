#pragma once

#include <QDialog>

// The taxpayer number (ИНН) programming dialog; created for each opening.
class TForm10 : public QDialog {
    Q_OBJECT
public:
    explicit TForm10(QWidget* parent = nullptr);
};
