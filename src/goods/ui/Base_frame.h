#pragma once

#include <QFrame>

// The goods database page of the main window.
class TBaseFrame : public QFrame {
    Q_OBJECT
public:
    explicit TBaseFrame(QWidget* parent = nullptr);
};
