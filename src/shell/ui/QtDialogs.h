#pragma once

#include "shell/UserDialogs.h"

// Message boxes on screen.
class QtDialogs : public UserDialogs {
public:
    bool ask(const QString& caption, const QString& text, DialogIcon icon) override;
    void inform(const QString& caption, const QString& text, DialogIcon icon) override;
};
