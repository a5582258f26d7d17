#pragma once

#include "shell/UserDialogs.h"

class QWidget;

// Message boxes on screen, over the program's active window; over the main
// window when the program is not the active one (a message at the end of a
// long transfer while the user works elsewhere), so that a box never stands
// on its own without a parent.
class QtDialogs : public UserDialogs {
public:
    explicit QtDialogs(QWidget* mainWindow = nullptr) : mainWindow_(mainWindow) {}

    bool ask(const QString& caption, const QString& text, DialogIcon icon) override;
    bool askDefaultNo(const QString& caption, const QString& text, DialogIcon icon) override;
    void inform(const QString& caption, const QString& text, DialogIcon icon) override;
    void errorWithDetails(const QString& text, const QString& details) override;
    // "Да", "Да для всех", "Нет", the item named under the question.
    FailureAnswer continueAfterFailure(const ItemFailure& failure) override;

    // The window a box shown now belongs to.
    QWidget* boxParent() const;

private:
    QWidget* mainWindow_;
};
