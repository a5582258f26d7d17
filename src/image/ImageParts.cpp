#include "image/ImageParts.h"

#include <algorithm>

void ImageProgress::open(const QString& caption, const QString& text) {
    inner_.setWaitCaption(caption);
    inner_.showWait(text);
    inner_.begin();
    inner_.setBusyCursor(true);
    inner_.processEvents();
}

void ImageProgress::close() {
    inner_.end();
    inner_.setBusyCursor(false);
    inner_.hideWait();
}

void ImageProgress::step(int done, int total) {
    Q_UNUSED(total);
    // A loop that starts again without begin() (the second cliché) counts
    // from its own start.
    if (done < last_) last_ = 0;
    count_ += done - last_;
    last_ = done;
    inner_.step(std::min(count_, total_), total_);
}

void ImageDialogs::inform(const QString& caption, const QString& text, DialogIcon icon) {
    if (icon == DialogIcon::Error) failures_ << text;
    inner_.inform(caption, text, icon);
}

void ImageDialogs::errorWithDetails(const QString& text, const QString& details) {
    failures_ << text;
    inner_.errorWithDetails(text, details);
}

FailureAnswer ImageDialogs::continueAfterFailure(const ItemFailure& failure) {
    failures_ << (failure.item.isEmpty() ? failure.message : failure.item);
    if (continueAll_) return FailureAnswer::Continue;
    const FailureAnswer answer = inner_.continueAfterFailure(failure);
    if (answer != FailureAnswer::ContinueAll) return answer;
    continueAll_ = true;
    return FailureAnswer::Continue;
}

void ImageDialogs::failureEndedLoop(const QString& item, const QString& message) {
    failures_ << (item.isEmpty() ? message : item);
    inner_.failureEndedLoop(item, message);
}

ImagePartsInstalled::ImagePartsInstalled(Progress& progress, UserDialogs& dialogs)
    : previousProgress_(CurrentProgress()), previousDialogs_(Dialogs()) {
    SetProgress(&progress);
    SetDialogs(&dialogs);
}

ImagePartsInstalled::~ImagePartsInstalled() {
    SetProgress(&previousProgress_);
    SetDialogs(&previousDialogs_);
}
