#pragma once

#include <QList>
#include <QString>

#include "shell/UserDialogs.h"

// Records every message box the code under test shows and answers the Yes/No
// ones from a queue. An unexpected question (empty queue) is answered No and
// counted, so a test can fail on it.
class ScriptedDialogs : public UserDialogs {
public:
    struct Shown {
        bool question;  // Yes/No (true) or OK (false)
        QString caption;
        QString text;
        DialogIcon icon;
        QString details;         // errorWithDetails: the list under the text
        bool defaultNo = false;  // a question whose default button is "Нет"
        QString item;            // the question after a failed item: the item it names
        bool summary = false;    // the summary at the end of a transfer with failures
    };

    ScriptedDialogs();  // installs itself as the program's dialogs
    ~ScriptedDialogs() override;

    bool ask(const QString& caption, const QString& text, DialogIcon icon) override;
    bool askDefaultNo(const QString& caption, const QString& text, DialogIcon icon) override;
    void inform(const QString& caption, const QString& text, DialogIcon icon) override;
    void errorWithDetails(const QString& text, const QString& details) override;
    // Recorded as the error question it is in a window, with the item; answered
    // from failureAnswers first, then from the Yes/No queue.
    FailureAnswer continueAfterFailure(const ItemFailure& failure) override;
    void transferSummary(const QString& text) override;

    // Queue answers for the next questions.
    ScriptedDialogs& answer(bool yes);
    ScriptedDialogs& answerYes(int times = 1);
    ScriptedDialogs& answerNo(int times = 1);

    QList<Shown> shown;
    int unexpectedQuestions = 0;
    QList<bool> answers;
    QList<FailureAnswer> failureAnswers;

    QStringList texts() const;
    void clear();

private:
    UserDialogs* previous_;
};

// Asserts the one message box and its caption/icon: for QVERIFY-style use.
bool IsError(const ScriptedDialogs::Shown& s);
bool IsWarning(const ScriptedDialogs::Shown& s);
bool IsConfirmation(const ScriptedDialogs::Shown& s);
bool IsErrorQuestion(const ScriptedDialogs::Shown& s);
