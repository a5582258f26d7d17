#pragma once

// Every message box of the program goes through this interface, so that the
// logic in the core can ask and tell without knowing about widgets, and tests
// can script the answers and check every caption and text.

#include <QString>

enum class DialogIcon { Error, Information, Question, None };

// The answers to the question after a failed item of a transfer.
enum class FailureAnswer {
    Continue,     // "Да": go on with the next item
    ContinueAll,  // "Да для всех": go on and do not ask again in this transfer
    Stop,         // "Нет"
};

// A failed item of a transfer, as the question after it shows it.
struct ItemFailure {
    QString item;     // "товар 225", "услуга 5, строка 2"; empty when unnamed
    QString message;  // the failure lead and the error text
    // The device did not answer: a silent port answers every item the same
    // way, so "Нет" is the default button.
    bool noAnswer = false;
};

// The three fixed captions.
QString CaptionError();         // "Ошибка..."
QString CaptionWarning();       // "Предупреждение..."
QString CaptionConfirmation();  // "Подтверждение..."
QString CaptionProgram();       // "Zelvo": the caption of a plain message

class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // Yes/No; true for Yes.
    virtual bool ask(const QString& caption, const QString& text, DialogIcon icon) = 0;
    // The same with "Нет" as the default button, for a step that cannot be
    // undone: Enter alone does not take it. Where there is no default button
    // it is the plain question.
    virtual bool askDefaultNo(const QString& caption, const QString& text, DialogIcon icon) {
        return ask(caption, text, icon);
    }
    // One OK button.
    virtual void inform(const QString& caption, const QString& text, DialogIcon icon) = 0;
    // "Ошибка..." with the error icon and OK, and under the text a long list
    // (such as the bad lines of a file) that the user can open and scroll.
    // Without a place for it the list follows the text.
    virtual void errorWithDetails(const QString& text, const QString& details) {
        error(text + QStringLiteral("\n\n") + details);
    }

    // "Ошибка..." with the error icon and OK.
    void error(const QString& text) { inform(CaptionError(), text, DialogIcon::Error); }
    // "Ошибка..." with the error icon and Yes/No: go on after a failed item?
    bool errorContinue(const QString& text) { return ask(CaptionError(), text, DialogIcon::Error); }
    // "Предупреждение..." with the information icon and OK.
    void warning(const QString& text) { inform(CaptionWarning(), text, DialogIcon::Information); }
    // The end of an operation that did what was asked ("Записано удачно..."):
    // a window shows it as a warning, the command line as information.
    virtual void success(const QString& text) { warning(text); }
    // A plain message: the program's caption, no icon, OK.
    void plain(const QString& text) { inform(CaptionProgram(), text, DialogIcon::None); }
    // "Подтверждение..." with the question icon and Yes/No.
    bool confirm(const QString& text) {
        return ask(CaptionConfirmation(), text, DialogIcon::Question);
    }
    // The same with "Нет" as the default button.
    bool confirmDefaultNo(const QString& text) {
        return askDefaultNo(CaptionConfirmation(), text, DialogIcon::Question);
    }

    // A failed item of a transfer loop. A window asks the message with
    // "\n Продолжить?" under it and the item named below, with "Да", "Да для
    // всех" and "Нет"; the command line names it in its report. Here: the
    // plain Yes/No question, "Нет" the default after no answer.
    virtual FailureAnswer continueAfterFailure(const ItemFailure& failure);
    // A loop that ends silently at its first failure (the form table) ended
    // at `item`. A window says nothing.
    virtual void failureEndedLoop(const QString& item, const QString& message);
    // The end of a transfer in which items failed: what was done and which
    // items were not (OutcomeSummary). An error in a window and on the command line.
    virtual void transferSummary(const QString& text) { error(text); }
};

// The line under the question that names the failed item: "Не выполнено: товар 225."
QString FailedItemText(const QString& item);

// The question after a failed item: the message and "\n Продолжить?".
QString ContinueQuestionText(const QString& message);

// The program-wide dialogs: the widget implementation in the running program,
// a scripted one in tests.
UserDialogs& Dialogs();
void SetDialogs(UserDialogs* dialogs);
