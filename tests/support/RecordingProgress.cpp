#include "support/RecordingProgress.h"

RecordingProgress::RecordingProgress() : previous_(&CurrentProgress()) {
    SetProgress(this);
}

RecordingProgress::~RecordingProgress() {
    SetProgress(previous_ == &SilentProgress() ? nullptr : previous_);
}
