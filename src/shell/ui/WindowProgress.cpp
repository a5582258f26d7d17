#include "shell/ui/WindowProgress.h"

#include <QApplication>
#include <QLabel>

#include "shell/ui/MainWindow.h"
#include "shell/ui/WaitWindow.h"

void WindowProgress::begin() {
    if (Form1) Form1->ProgressBegin();
}

void WindowProgress::step(int done, int total) {
    if (Form1) Form1->ProgressStep(done, total);
}

void WindowProgress::end() {
    if (Form1) Form1->ProgressEnd();
}

void WindowProgress::setBusyCursor(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void WindowProgress::showWait(const QString& text) {
    if (!Form9) return;
    Form9->Label1->setText(text);
    if (Form1) Form9->move(Form1->geometry().center() - Form9->rect().center());
    Form9->show();
    Form9->raise();
}

void WindowProgress::setWaitText(const QString& text) {
    if (Form9) Form9->Label1->setText(text);
}

void WindowProgress::setWaitCaption(const QString& caption) {
    if (Form9) Form9->setWindowTitle(caption);
}

void WindowProgress::hideWait() {
    if (Form9) Form9->hide();
}

void WindowProgress::processEvents() {
    QApplication::processEvents();
}
