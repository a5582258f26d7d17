#pragma once

#include <QDialog>

class QTimer;

// The splash: shown modally once at start-up, closes itself after 1.5 s and
// not before (Esc and a close request are ignored until then).
class SplashWindow : public QDialog {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);
    QTimer* closeTimer = nullptr;

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
};
