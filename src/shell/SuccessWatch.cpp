#include "shell/SuccessWatch.h"

SuccessWatch::SuccessWatch() : inner_(Dialogs()) {
    SetDialogs(this);
}

SuccessWatch::~SuccessWatch() {
    SetDialogs(&inner_);
}

bool SuccessWatch::ask(const QString& caption, const QString& text, DialogIcon icon) {
    return inner_.ask(caption, text, icon);
}

bool SuccessWatch::askDefaultNo(const QString& caption, const QString& text, DialogIcon icon) {
    return inner_.askDefaultNo(caption, text, icon);
}

void SuccessWatch::inform(const QString& caption, const QString& text, DialogIcon icon) {
    // An error box is a failure whatever else follows.
    if (icon == DialogIcon::Error) failed_ = true;
    inner_.inform(caption, text, icon);
}

void SuccessWatch::errorWithDetails(const QString& text, const QString& details) {
    failed_ = true;
    inner_.errorWithDetails(text, details);
}

void SuccessWatch::success(const QString& text) {
    succeeded_ = true;
    inner_.success(text);
}

FailureAnswer SuccessWatch::continueAfterFailure(const ItemFailure& failure) {
    failed_ = true;
    return inner_.continueAfterFailure(failure);
}

void SuccessWatch::transferSummary(const QString& text) {
    failed_ = true;
    inner_.transferSummary(text);
}

void SuccessWatch::failureEndedLoop(const QString& item, const QString& message) {
    failed_ = true;
    inner_.failureEndedLoop(item, message);
}
