#include "shell/ui/QtDialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QMessageBox::Icon ToIcon(DialogIcon icon) {
    switch (icon) {
        case DialogIcon::Error:
            return QMessageBox::Critical;
        case DialogIcon::Information:
            return QMessageBox::Information;
        case DialogIcon::Question:
            return QMessageBox::Question;
        case DialogIcon::None:
            return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

int Show(QWidget* parent, const QString& caption, const QString& text, DialogIcon icon,
         QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton,
         const QString& details = {}, const QString& informative = {}) {
    // A message must be readable even while a transfer shows the busy cursor.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox box(ToIcon(icon), caption, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    // A list of a hundred lines scrolls under the text instead of growing the box.
    if (!details.isEmpty()) box.setDetailedText(details);
    if (!informative.isEmpty()) box.setInformativeText(informative);
    box.setButtonText(QMessageBox::Yes, QStringLiteral("Да"));
    box.setButtonText(QMessageBox::YesToAll, QStringLiteral("Да для всех"));
    box.setButtonText(QMessageBox::No, QStringLiteral("Нет"));
    const int result = box.exec();
    QApplication::restoreOverrideCursor();
    return result;
}

}  // namespace

QWidget* QtDialogs::boxParent() const {
    if (QWidget* active = QApplication::activeWindow()) return active;
    // Inactive, the program may still have a modal window open (the wizard,
    // the wait window's transfer): the box goes over that one.
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return mainWindow_;
}

bool QtDialogs::ask(const QString& caption, const QString& text, DialogIcon icon) {
    return Show(boxParent(), caption, text, icon, QMessageBox::Yes | QMessageBox::No,
                QMessageBox::Yes) == QMessageBox::Yes;
}

bool QtDialogs::askDefaultNo(const QString& caption, const QString& text, DialogIcon icon) {
    return Show(boxParent(), caption, text, icon, QMessageBox::Yes | QMessageBox::No,
                QMessageBox::No) == QMessageBox::Yes;
}

void QtDialogs::inform(const QString& caption, const QString& text, DialogIcon icon) {
    Show(boxParent(), caption, text, icon, QMessageBox::Ok, QMessageBox::Ok);
}

void QtDialogs::errorWithDetails(const QString& text, const QString& details) {
    Show(boxParent(), CaptionError(), text, DialogIcon::Error, QMessageBox::Ok, QMessageBox::Ok,
         details);
}

FailureAnswer QtDialogs::continueAfterFailure(const ItemFailure& failure) {
    const int answer =
        Show(boxParent(), CaptionError(), ContinueQuestionText(failure.message), DialogIcon::Error,
             QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::No,
             failure.noAnswer ? QMessageBox::No : QMessageBox::Yes, {},
             failure.item.isEmpty() ? QString() : FailedItemText(failure.item));
    if (answer == QMessageBox::Yes) return FailureAnswer::Continue;
    if (answer == QMessageBox::YesToAll) return FailureAnswer::ContinueAll;
    return FailureAnswer::Stop;
}
