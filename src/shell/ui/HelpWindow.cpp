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
    textView = new QPlainTextEdit(panel);
    textView->setGeometry(4, 4, 449, 240);
    textView->setReadOnly(true);
    textView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    textView->setLineWrapMode(QPlainTextEdit::NoWrap);
    textView->setPlainText(HelpTextLines().join(QLatin1Char('\n')));
    textView->setStyleSheet(
        QStringLiteral("QPlainTextEdit { color: #800000; background: palette(window); }"));
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setGeometry(195, 260, 75, 25);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    if (parentWidget()) move(parentWidget()->window()->geometry().center() - rect().center());
}

void HelpWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    okButton->setFocus();
}
