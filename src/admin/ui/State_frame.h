#pragma once

#include <QFrame>

// The device state page of the main window.
class TStateFrame : public QFrame {
    Q_OBJECT
public:
    explicit TStateFrame(QWidget* parent = nullptr);
};
