#include "app/SplashWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include "shell/ui/Icons.h"

SplashWindow::SplashWindow(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFixedSize(294 + 6, 169 + 6);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0x00, 0x66, 0xcc));  // the system's hot-light blue
    setPalette(pal);
    setStyleSheet(QStringLiteral("SplashWindow { border: 3px solid #003d7a; }"));
    auto* picture = new QLabel(this);
    picture->setGeometry(3, 3, 294, 169);
    picture->setPixmap(DrawSplashPicture(QSize(294, 169)));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    closeTimer = new QTimer(this);
    closeTimer->setInterval(1500);
    closeTimer->setSingleShot(true);
    closeTimer->setTimerType(Qt::PreciseTimer);
    connect(closeTimer, &QTimer::timeout, this, &QDialog::accept);
    closeTimer->start();
}

void SplashWindow::reject() {
    if (closeTimer->isActive()) return;
    QDialog::reject();
}

void SplashWindow::closeEvent(QCloseEvent* event) {
    if (closeTimer->isActive()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
