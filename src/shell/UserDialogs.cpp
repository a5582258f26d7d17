#include "shell/UserDialogs.h"

QString CaptionError() {
    return QStringLiteral("Ошибка...");
}
QString CaptionWarning() {
    return QStringLiteral("Предупреждение...");
}
QString CaptionConfirmation() {
    return QStringLiteral("Подтверждение...");
}
QString CaptionProgram() {
    return QStringLiteral("Zelvo");
}

QString ContinueQuestionText(const QString& message) {
    return message + QStringLiteral("\n Продолжить?");
}

QString FailedItemText(const QString& item) {
    return QStringLiteral("Не выполнено: %1.").arg(item);
}

FailureAnswer UserDialogs::continueAfterFailure(const ItemFailure& failure) {
    const QString text = ContinueQuestionText(failure.message);
    const bool yes = failure.noAnswer ? askDefaultNo(CaptionError(), text, DialogIcon::Error)
                                      : ask(CaptionError(), text, DialogIcon::Error);
    return yes ? FailureAnswer::Continue : FailureAnswer::Stop;
}

void UserDialogs::failureEndedLoop(const QString&, const QString&) {}

namespace {

// Before a window takes over (and in programs without one) nothing is shown
// and every question is answered No, so no loop runs on unattended.
class NoDialogs : public UserDialogs {
public:
    bool ask(const QString&, const QString&, DialogIcon) override { return false; }
    void inform(const QString&, const QString&, DialogIcon) override {}
};

UserDialogs* g_dialogs = nullptr;

}  // namespace

UserDialogs& Dialogs() {
    static NoDialogs none;
    return g_dialogs ? *g_dialogs : none;
}

void SetDialogs(UserDialogs* dialogs) {
    g_dialogs = dialogs;
}
