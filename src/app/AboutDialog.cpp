#include "app/AboutDialog.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "shell/VersionInfo.h"
#include "shell/ui/Icons.h"

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("О программе..."));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(322, 137);
    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(6, 6, 310, 94);
    auto* picture = new QLabel(panel);
    picture->setGeometry(8, 10, 97, 73);
    picture->setScaledContents(true);
    picture->setPixmap(DrawDevicePicture(QSize(97, 73)));
    const QString captions[] = {QStringLiteral("Имя:"), QStringLiteral("Версия:"),
                                QStringLiteral("Компания:")};
    QLabel** values[] = {&NameValue, &VersionValue, &CompanyValue};
    for (int i = 0; i < 3; ++i) {
        auto* caption = new QLabel(captions[i], panel);
        caption->setGeometry(116, 14 + 24 * i, 70, 18);
        *values[i] = new QLabel(panel);
        (*values[i])->setGeometry(188, 14 + 24 * i, 118, 18);
    }
    if (const auto info = ProgramVersionInfo()) {
        NameValue->setText(info->productName);
        VersionValue->setText(info->fileVersion);
        CompanyValue->setText(info->companyName);
    }
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(124, 106, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    if (parentWidget()) move(parentWidget()->geometry().center() - rect().center());
}
