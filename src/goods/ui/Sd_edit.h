#pragma once

#include <QDialog>

// The goods record editor, created once at start-up and reused.
class TForm8 : public QDialog {
    Q_OBJECT
public:
    explicit TForm8(QWidget* parent = nullptr);
};

extern TForm8* Form8;
