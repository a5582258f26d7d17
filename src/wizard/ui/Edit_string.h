#pragma once

#include <QDialog>

// The line editor, created once at start-up and reused by every grid page.
class TForm6 : public QDialog {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);
    bool Accepted = false;
};

extern TForm6* Form6;
