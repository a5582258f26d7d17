#include "shell/ui/WaitWindow.h"

#include <QLabel>
#include <QPushButton>

#include "shell/ui/Icons.h"

WaitWindow::WaitWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Выгрузка...."));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(false);
    setFixedSize(330, 122);
    auto* icon = new QLabel(this);
    icon->setGeometry(12, 18, 32, 32);
    icon->setPixmap(DrawHourglassPicture(QSize(32, 32)));
    operationLabel = new QLabel(this);
    operationLabel->setGeometry(60, 14, 260, 18);
    hintLabel = new QLabel(QStringLiteral("Дождитесь окончания ..."), this);
    hintLabel->setGeometry(60, 38, 260, 18);
    countLabel = new QLabel(this);
    countLabel->setGeometry(60, 60, 260, 18);
    stopButton = new QPushButton(QStringLiteral("Прервать"), this);
    stopButton->setGeometry(330 - 12 - 100, 88, 100, 25);
    stopButton->setAutoDefault(false);
}
