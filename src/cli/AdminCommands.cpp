// state and inn.

#include <QDate>

#include "admin/InnCheck.h"
#include "admin/InnProgramming.h"
#include "admin/StateDecoding.h"
#include "admin/StateJson.h"
#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "cli/CommandSupport.h"
#include "cli/ExitCode.h"
#include "cli/InnPassword.h"

namespace {

// A code and its text as one value, "1 (Регистрация)" style; the text only where the code has one.
QString CodeAndText(const QString& code, const QString& text) {
    return text.isEmpty() ? code : code + QStringLiteral(" (") + text + QLatin1Char(')');
}

}  // namespace

int RunState(CliSession& session) {
    if (const int code = ApplyConnection(session); code != ExitDone) return code;
    const StateQuery query = QueryDeviceState();
    if (!query.ok()) {
        session.dialogs.error(StateFailureMessage(query));
        return ExitDeviceFailed;
    }
    const StateTexts t = DecodeState(query.answer);
    // The rows of the state page, with its labels.
    const QList<QPair<QString, QString>> rows = {
        {QStringLiteral("Время АС :"), t.time},
        {QStringLiteral("Дата АС :"), t.date},
        {QStringLiteral("Режим работы :"), CodeAndText(t.modeCode, t.modeText)},
        {QStringLiteral("Подрежим :"), CodeAndText(t.subModeCode, t.subModeText)},
        {QStringLiteral("Флеш память :"), CodeAndText(t.flashCode, t.flashText)},
        {QStringLiteral("Батарейка :"), CodeAndText(t.batteryCode, t.batteryText)},
        {QStringLiteral("№ текущего документа :"), t.documentNumber},
        {QStringLiteral("Состояние текущего документа :"), t.documentState},
        {QStringLiteral("Заводской номер АС :"), t.factoryNumber},
        {QStringLiteral("ИНН :"), t.taxpayerNumber},
        {QStringLiteral("Текущая группа :"), QString::number(query.answer.currentGroup)},
    };
    for (const auto& row : rows) session.report.line(row.first + QLatin1Char(' ') + row.second);
    session.report.set(QStringLiteral("state"), StateJson(query.answer));
    return ExitDone;
}

int RunInn(CliSession& session) {
    const CommandLine& line = session.line;
    for (const QString& name :
         {QStringLiteral("inn"), QStringLiteral("date"), QStringLiteral("group")}) {
        if (!line.isSet(name))
            return UsageError(session, QStringLiteral("Не указан параметр --%1.").arg(name));
    }
    InnInput input;
    input.taxpayerNumber = line.value(QStringLiteral("inn"));
    const QString dateText = line.value(QStringLiteral("date"));
    input.date = QDate::fromString(dateText, Qt::ISODate);
    if (!input.date.isValid() || dateText.size() != 10 || input.date.year() < InnFirstYear ||
        input.date.year() > InnLastYear)
        return UsageError(session, QStringLiteral("--date: «%1» — нужна дата ГГГГ-ММ-ДД от "
                                                  "%2-01-01 до %3-12-31.")
                                       .arg(dateText)
                                       .arg(InnFirstYear)
                                       .arg(InnLastYear));
    int group = 0;
    if (!ParseNumber(line.value(QStringLiteral("group")), 1, 3, group))
        return UsageError(session, QStringLiteral("--group: «%1» — нужна группа 1, 2 или 3.")
                                       .arg(line.value(QStringLiteral("group"))));
    input.groupIndex = group - 1;
    if (const int code = ApplyConnection(session); code != ExitDone) return code;
    const InnPasswordSource password = ReadInnPassword(line);
    if (password.outcome == InnPasswordSource::Outcome::Usage)
        return UsageError(session, password.error);
    if (password.outcome == InnPasswordSource::Outcome::Interrupted) return ExitInterrupted;
    if (password.outcome == InnPasswordSource::Outcome::FileFailed) {
        session.dialogs.error(password.error);
        return ExitFileFailed;
    }
    input.password = password.password;

    const bool assumeYes = line.isSet(QStringLiteral("yes"));
    // With --yes nobody reads the confirmation, so its warning about a number
    // that cannot be a real ИНН is said on its own before the number goes out.
    if (assumeYes && !CheckInnInput(input)) {
        const QString problem = InnProblem(input.taxpayerNumber);
        if (!problem.isEmpty()) session.dialogs.warning(problem);
    }
    session.dialogs.setConfirmation(assumeYes);
    const InnOutcome outcome = ProgramInn(input, session.dialogs);
    if (!outcome.closeDialog) return ExitUsage;  // a field check refused the input
    if (!outcome.sent) {
        session.dialogs.error(
            session.dialogs.declinedConfirmation().trimmed() +
            QStringLiteral("\nИНН программируется один раз и необратимо; команда выполняется "
                           "только с --yes. Ничего не отправлено."));
        return ExitUsage;
    }
    return outcome.succeeded ? ExitDone : ExitDeviceFailed;
}
