#pragma once

// Every message box of the program goes through this interface, so that the
// logic in the core can ask and tell without knowing about widgets, and tests
// can script the answers and check every caption and text.

#include <QString>

enum class DialogIcon { Error, Information, Question, None };

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

    // A failed item of a transfer loop: `item` names it ("товар 517"),
    // `message` is the failure. True goes on with the next item. A window asks
    // the message with "\n Продолжить?" under it and leaves the item unnamed, as
    // the user sees it in the grid; the command line names it in its report.
    virtual bool continueAfterFailure(const QString& item, const QString& message);
    // A loop that ends silently at its first failure (the form table) ended
    // at `item`. A window says nothing.
    virtual void failureEndedLoop(const QString& item, const QString& message);
};

// The question after a failed item: the message and "\n Продолжить?".
QString ContinueQuestionText(const QString& message);

// The program-wide dialogs: the widget implementation in the running program,
// a scripted one in tests.
UserDialogs& Dialogs();
void SetDialogs(UserDialogs* dialogs);
