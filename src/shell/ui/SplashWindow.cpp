#include "shell/ui/SplashWindow.h"

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

    Timer1 = new QTimer(this);
    Timer1->setInterval(500);
    Timer1->setInterval(1500);
    Timer1->setSingleShot(true);
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &QDialog::accept);
    Timer1->start();
}
