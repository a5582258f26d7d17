#include "support/IndicatorProgress.h"

#include "support/FuzzCheck.h"

IndicatorProgress::IndicatorProgress(int stopAfterItems) : stopAfterItems_(stopAfterItems) {
    SetProgress(this);
}

IndicatorProgress::~IndicatorProgress() {
    SetProgress(nullptr);
}

void IndicatorProgress::step(int done, int total) {
    FUZZ_CHECK(total > 0 && done >= 0 && done <= total);
    ++items_;
}

void IndicatorProgress::showWait(const QString& text) {
    FUZZ_CHECK(!text.isEmpty());
    waitShown_ = true;
}

bool IndicatorProgress::stopRequested() const {
    return stopAfterItems_ >= 0 && items_ >= stopAfterItems_;
}

void IndicatorProgress::checkAllDown() const {
    FUZZ_CHECK(!barShown_);
    FUZZ_CHECK(!busy_);
    FUZZ_CHECK(!waitShown_);
}
