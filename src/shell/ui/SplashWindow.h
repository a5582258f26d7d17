#pragma once

#include <QDialog>

class QTimer;

// The splash: shown modally once at start-up, closes itself after 1.5 s.
class SplashWindow : public QDialog {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);
    QTimer* closeTimer = nullptr;
};
