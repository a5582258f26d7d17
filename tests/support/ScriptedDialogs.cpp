#include "support/ScriptedDialogs.h"

#include <QStringList>

namespace {
UserDialogs* g_installed = nullptr;
}

ScriptedDialogs::ScriptedDialogs() : previous_(g_installed) {
    SetDialogs(this);
    g_installed = this;
}

ScriptedDialogs::~ScriptedDialogs() {
    SetDialogs(previous_);
    g_installed = previous_;
}

bool ScriptedDialogs::ask(const QString& caption, const QString& text, DialogIcon icon) {
    shown.append({true, caption, text, icon, {}, false, {}, false});
    if (answers.isEmpty()) {
        ++unexpectedQuestions;
        return false;
    }
    return answers.takeFirst();
}

bool ScriptedDialogs::askDefaultNo(const QString& caption, const QString& text, DialogIcon icon) {
    const bool yes = ask(caption, text, icon);
    shown.last().defaultNo = true;
    return yes;
}

void ScriptedDialogs::inform(const QString& caption, const QString& text, DialogIcon icon) {
    shown.append({false, caption, text, icon, {}, false, {}, false});
}

void ScriptedDialogs::errorWithDetails(const QString& text, const QString& details) {
    shown.append({false, CaptionError(), text, DialogIcon::Error, details, false, {}, false});
}

FailureAnswer ScriptedDialogs::continueAfterFailure(const ItemFailure& failure) {
    if (failureAnswers.isEmpty()) {
        const bool yes =
            ask(CaptionError(), ContinueQuestionText(failure.message), DialogIcon::Error);
        shown.last().defaultNo = failure.noAnswer;
        shown.last().item = failure.item;
        return yes ? FailureAnswer::Continue : FailureAnswer::Stop;
    }
    shown.append({true,
                  CaptionError(),
                  ContinueQuestionText(failure.message),
                  DialogIcon::Error,
                  {},
                  failure.noAnswer,
                  failure.item,
                  false});
    return failureAnswers.takeFirst();
}

void ScriptedDialogs::transferSummary(const QString& text) {
    UserDialogs::transferSummary(text);
    shown.last().summary = true;
}

ScriptedDialogs& ScriptedDialogs::answer(bool yes) {
    answers.append(yes);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::answerYes(int times) {
    for (int i = 0; i < times; ++i) answers.append(true);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::answerNo(int times) {
    for (int i = 0; i < times; ++i) answers.append(false);
    return *this;
}

QStringList ScriptedDialogs::texts() const {
    QStringList list;
    for (const Shown& s : shown) list << s.text;
    return list;
}

void ScriptedDialogs::clear() {
    shown.clear();
    answers.clear();
    failureAnswers.clear();
    unexpectedQuestions = 0;
}

bool IsError(const ScriptedDialogs::Shown& s) {
    return !s.question && s.caption == CaptionError() && s.icon == DialogIcon::Error;
}
bool IsWarning(const ScriptedDialogs::Shown& s) {
    return !s.question && s.caption == CaptionWarning() && s.icon == DialogIcon::Information;
}
bool IsConfirmation(const ScriptedDialogs::Shown& s) {
    return s.question && s.caption == CaptionConfirmation() && s.icon == DialogIcon::Question;
}
bool IsErrorQuestion(const ScriptedDialogs::Shown& s) {
    return s.question && s.caption == CaptionError() && s.icon == DialogIcon::Error;
}
