#include "support/InputDialogs.h"

#include "support/FuzzCheck.h"
#include "support/FuzzInput.h"

InputDialogs::InputDialogs(FuzzInput& input) : input_(input) {
    SetDialogs(this);
}

InputDialogs::~InputDialogs() {
    SetDialogs(nullptr);
}

bool InputDialogs::ask(const QString& caption, const QString& text, DialogIcon) {
    FUZZ_CHECK(!caption.isEmpty() && !text.isEmpty());
    ++questions;
    return (input_.byte(0) & 1) != 0;
}

void InputDialogs::inform(const QString& caption, const QString& text, DialogIcon) {
    FUZZ_CHECK(!caption.isEmpty() && !text.isEmpty());
    ++messages;
}
