#include "shell/ui/WindowProgress.h"

#include <QApplication>
#include <QLabel>

#include "shell/ProgressCount.h"
#include "shell/ui/PageHost.h"
#include "shell/ui/WaitWindow.h"

void WindowProgress::begin() {
    if (host_) host_->ProgressBegin();
}

void WindowProgress::step(int done, int total) {
    // The numbers go up before the step lets the window repaint.
    if (wait_)
        wait_->countLabel->setText(ProgressCountText(wait_->operationLabel->text(), done, total));
    if (host_) host_->ProgressStep(done, total);
}

void WindowProgress::end() {
    if (host_) host_->ProgressEnd();
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
    // Each long transfer starts without a stop request of an earlier one.
    stopRequested_ = false;
    if (!wait_) return;
    wait_->operationLabel->setText(text);
    wait_->countLabel->clear();
    if (host_) wait_->move(host_->hostWindow()->geometry().center() - wait_->rect().center());
    wait_->show();
    wait_->raise();
}

void WindowProgress::setWaitText(const QString& text) {
    if (!wait_) return;
    wait_->operationLabel->setText(text);
    // A new phase has no count of its own until its first step.
    wait_->countLabel->clear();
}

void WindowProgress::setWaitCaption(const QString& caption) {
    if (wait_) wait_->setWindowTitle(caption);
}

void WindowProgress::hideWait() {
    if (wait_) wait_->hide();
}

void WindowProgress::processEvents() {
    QApplication::processEvents();
}
