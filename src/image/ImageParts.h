#pragma once

// An image moves through the transfers of its parts (state, configuration
// with forms, goods), each of which shows its own progress and ends with its
// own message. Run under these, the parts show as one operation: one wait
// window and one bar over all parts, questions and failures passed through as
// they are, and the parts' success messages held back, so that the image's
// own summary is the only word at the end and never follows a failure.

#include <QStringList>

#include "shell/Progress.h"
#include "shell/UserDialogs.h"

class ImageProgress : public Progress {
public:
    // `total`: the items of all parts, for the bar.
    ImageProgress(Progress& inner, int total) : inner_(inner), total_(total) {}

    // The wait window and the bar, up for the whole image.
    void open(const QString& caption, const QString& text);
    void close();
    // Every part ran to its end: the bar shows it full, whatever steps the
    // parts' loops left out (a phase of one item shows none).
    void complete() { inner_.step(total_, total_); }

    void begin() override { last_ = 0; }
    void step(int done, int total) override;
    void end() override { last_ = 0; }
    void setBusyCursor(bool busy) override { inner_.setBusyCursor(busy); }
    void showWait(const QString& text) override { inner_.setWaitText(text); }
    void setWaitText(const QString& text) override { inner_.setWaitText(text); }
    // The image's caption stays.
    void setWaitCaption(const QString&) override {}
    void hideWait() override {}
    void processEvents() override { inner_.processEvents(); }
    bool stopRequested() const override { return inner_.stopRequested(); }

    int done() const { return count_; }

private:
    Progress& inner_;
    int total_;
    int count_ = 0;  // items done over all parts
    int last_ = 0;   // the running loop's last step
};

class ImageDialogs : public UserDialogs {
public:
    explicit ImageDialogs(UserDialogs& inner) : inner_(inner) {}

    bool ask(const QString& caption, const QString& text, DialogIcon icon) override {
        return inner_.ask(caption, text, icon);
    }
    bool askDefaultNo(const QString& caption, const QString& text, DialogIcon icon) override {
        return inner_.askDefaultNo(caption, text, icon);
    }
    void inform(const QString& caption, const QString& text, DialogIcon icon) override;
    void errorWithDetails(const QString& text, const QString& details) override;
    void success(const QString&) override {}
    FailureAnswer continueAfterFailure(const ItemFailure& failure) override;
    void failureEndedLoop(const QString& item, const QString& message) override;
    // A part's own summary is held back like its success: every item it
    // names has been recorded here already.
    void transferSummary(const QString&) override {}

    // What failed, by item name where the part gave one, else its message.
    const QStringList& failures() const { return failures_; }

private:
    UserDialogs& inner_;
    QStringList failures_;
    // "Да для всех" was given: later failures of the image are recorded and
    // passed over here, so that each one is still named in the image's summary.
    bool continueAll_ = false;
};

// Puts the two in place of the program's progress and dialogs, which the
// configuration transfer takes, for as long as it lives.
class ImagePartsInstalled {
public:
    ImagePartsInstalled(Progress& progress, UserDialogs& dialogs);
    ~ImagePartsInstalled();
    ImagePartsInstalled(const ImagePartsInstalled&) = delete;
    ImagePartsInstalled& operator=(const ImagePartsInstalled&) = delete;

private:
    Progress& previousProgress_;
    UserDialogs& previousDialogs_;
};
