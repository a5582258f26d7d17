#pragma once

#include <QList>
#include <QString>

#include "shell/UserDialogs.h"

class ErrorStream;

// The window program's message boxes on the command line. Every message goes
// to standard error with the window's text. A loop's "Продолжить?" after a
// failed item is answered by --keep-going (No without it, so the command stops
// at the first failure), and every failed item is kept for the summary.
// Confirmations ("Вы действительно...?") take the answer the command sets.
class CliDialogs : public UserDialogs {
public:
    enum class Kind { Error, Warning, Information };
    struct Message {
        Kind kind;
        QString text;
    };
    struct Failure {
        QString item;  // "товар 517"; empty when the failure names no item
        QString message;
        // "товар 517: <message>"
        QString text() const;
    };

    explicit CliDialogs(ErrorStream& stream);

    // --keep-going: answer Yes after a failed item.
    void setKeepGoing(bool keepGoing) { keepGoing_ = keepGoing; }
    bool keepGoing() const { return keepGoing_; }
    // The answer to confirmation questions (No unless the command says otherwise).
    void setConfirmation(bool yes) { confirmation_ = yes; }

    bool ask(const QString& caption, const QString& text, DialogIcon icon) override;
    void inform(const QString& caption, const QString& text, DialogIcon icon) override;
    // Information; after failed items it is no success, and the summary at
    // the end says what was done instead.
    void success(const QString& text) override;
    // The message with the whole list in place of the lines it shows of it.
    void errorWithDetails(const QString& text, const QString& details) override;
    FailureAnswer continueAfterFailure(const ItemFailure& failure) override;
    // An error that is also kept as the transfer's summary.
    void transferSummary(const QString& text) override;
    void failureEndedLoop(const QString& item, const QString& message) override;

    // A failure the core's dialogs did not carry (a command's own finding).
    void addFailure(const QString& item, const QString& message);

    const QList<Message>& messages() const { return messages_; }
    const QList<Failure>& failures() const { return failures_; }
    // An error message was shown or an item failed.
    bool failed() const { return errors_ > 0 || !failures_.isEmpty(); }
    // The text of the last confirmation answered No; empty when none was.
    QString declinedConfirmation() const { return declined_; }
    // The summary of the last transfer with failures, in the window's words;
    // empty when none ended so.
    QString summary() const { return summary_; }

private:
    void show(Kind kind, const QString& text);

    ErrorStream& stream_;
    bool keepGoing_ = false;
    bool confirmation_ = false;
    bool toldHowToGoOn_ = false;
    int errors_ = 0;
    QString declined_;
    QString summary_;
    QList<Message> messages_;
    QList<Failure> failures_;
};
