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

bool UserDialogs::continueAfterFailure(const QString&, const QString& message) {
    return errorContinue(ContinueQuestionText(message));
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
