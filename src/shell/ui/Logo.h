#pragma once

#include <QDialog>

class QTimer;

// The splash: shown modally once at start-up, closes itself after 1.5 s.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
    QTimer* Timer1 = nullptr;
};
