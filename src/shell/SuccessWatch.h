#pragma once

// Tells whether what ran while it lived ended with its success message and no
// failed item. Every message box still reaches the dialogs that were in place:
// the watch only listens, so a page can know that its data are now in the
// device without each transfer reporting it another way.

#include "shell/UserDialogs.h"

class SuccessWatch : public UserDialogs {
public:
    SuccessWatch();
    ~SuccessWatch() override;
    SuccessWatch(const SuccessWatch&) = delete;
    SuccessWatch& operator=(const SuccessWatch&) = delete;

    bool succeeded() const { return succeeded_ && !failed_; }

    bool ask(const QString& caption, const QString& text, DialogIcon icon) override;
    bool askDefaultNo(const QString& caption, const QString& text, DialogIcon icon) override;
    void inform(const QString& caption, const QString& text, DialogIcon icon) override;
    void errorWithDetails(const QString& text, const QString& details) override;
    void success(const QString& text) override;
    FailureAnswer continueAfterFailure(const ItemFailure& failure) override;
    void transferSummary(const QString& text) override;
    void failureEndedLoop(const QString& item, const QString& message) override;

private:
    UserDialogs& inner_;
    bool succeeded_ = false;
    bool failed_ = false;
};
