#pragma once

#include <QDialog>

// The number editor, created once at start-up and reused.
class TForm7 : public QDialog {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);
    bool Accepted = false;
};

extern TForm7* Form7;
