#pragma once

#include "shell/UserDialogs.h"

class FuzzInput;

// Message boxes during a fuzzed run: every question takes its answer from the
// next input byte (odd: Yes); once the input is used up every answer is No,
// so no loop runs on for ever. Installs itself as the program's dialogs.
class InputDialogs : public UserDialogs {
public:
    explicit InputDialogs(FuzzInput& input);
    ~InputDialogs() override;
    InputDialogs(const InputDialogs&) = delete;
    InputDialogs& operator=(const InputDialogs&) = delete;

    bool ask(const QString& caption, const QString& text, DialogIcon icon) override;
    void inform(const QString& caption, const QString& text, DialogIcon icon) override;

    int questions = 0;
    int messages = 0;

private:
    FuzzInput& input_;
};
