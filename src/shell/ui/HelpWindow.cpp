#include "shell/ui/HelpWindow.h"

#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>

#include "shell/HelpText.h"

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Справка"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(465, 293);
    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(4, 4, 457, 248);
    Memo1 = new QPlainTextEdit(panel);
    Memo1->setGeometry(4, 4, 449, 240);
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setPlainText(HelpTextLines().join(QLatin1Char('\n')));
    Memo1->setStyleSheet(
        QStringLiteral("QPlainTextEdit { color: #800000; background: palette(window); }"));
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setGeometry(195, 260, 75, 25);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    if (parentWidget()) move(parentWidget()->window()->geometry().center() - rect().center());
}

void HelpWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Button1->setFocus();
}
