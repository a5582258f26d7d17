#include "cli/CommandReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <cstdio>

#include "cli/CliDialogs.h"
#include "cli/ExitCode.h"
#include "cli/TerminalProgress.h"
#include "shell/TextOutput.h"

namespace {

QString KindName(CliDialogs::Kind kind) {
    switch (kind) {
        case CliDialogs::Kind::Error:
            return QStringLiteral("error");
        case CliDialogs::Kind::Warning:
            return QStringLiteral("warning");
        case CliDialogs::Kind::Information:
            break;
    }
    return QStringLiteral("information");
}

void WriteOut(const QString& text) {
    WriteText(stdout, text);
}

void WriteError(const QString& text) {
    WriteText(stderr, text + QLatin1Char('\n'));
}

}  // namespace

int CommandReport::finish(int exitCode, const CliDialogs& dialogs,
                          const TerminalProgress& progress) {
    const bool interrupted = exitCode == ExitInterrupted;
    if (interrupted)
        WriteError(
            QStringLiteral("Остановлено по Ctrl+C; выполнено: %1.")
                .arg(progress.howFar().isEmpty() ? QStringLiteral("ничего") : progress.howFar()));
    // Each failure was told when it happened; after --keep-going they are
    // listed together at the end.
    if (dialogs.keepGoing() && !dialogs.failures().isEmpty()) {
        // What was done and what was not: a run with failures is no success.
        // A transfer says it in its own summary, which stands just above.
        const int failed = int(dialogs.failures().size());
        if (!dialogs.summary().isEmpty())
            WriteError(QStringLiteral("Ошибки:"));
        else if (progress.total() > 0)
            WriteError(QStringLiteral("Выполнено: %1 из %2. Не выполнено: %3.")
                           .arg(std::max(0, progress.done() - failed))
                           .arg(progress.total())
                           .arg(failed));
        else
            WriteError(QStringLiteral("Не выполнено: %1.").arg(failed));
        for (const CliDialogs::Failure& failure : dialogs.failures())
            WriteError(QStringLiteral("  ") + failure.text());
    }
    QJsonArray failures;
    for (const CliDialogs::Failure& failure : dialogs.failures())
        failures.append(QJsonObject{{QStringLiteral("item"), failure.item},
                                    {QStringLiteral("message"), failure.message}});

    if (!json_) {
        if (!lines_.isEmpty()) WriteOut(lines_.join(QLatin1Char('\n')) + QLatin1Char('\n'));
        return exitCode;
    }
    QJsonObject document = fields_;
    document.insert(QStringLiteral("command"), command_);
    document.insert(QStringLiteral("exitCode"), exitCode);
    document.insert(QStringLiteral("ok"), exitCode == ExitDone);
    QJsonArray messages;
    for (const CliDialogs::Message& message : dialogs.messages())
        messages.append(QJsonObject{{QStringLiteral("kind"), KindName(message.kind)},
                                    {QStringLiteral("text"), message.text}});
    document.insert(QStringLiteral("messages"), messages);
    document.insert(QStringLiteral("failures"), failures);
    document.insert(QStringLiteral("interrupted"), interrupted);
    if (!dialogs.summary().isEmpty()) document.insert(QStringLiteral("summary"), dialogs.summary());
    if (progress.total() > 0)
        document.insert(QStringLiteral("progress"),
                        QJsonObject{{QStringLiteral("operation"), progress.operation()},
                                    {QStringLiteral("done"), progress.done()},
                                    {QStringLiteral("total"), progress.total()}});
    WriteOut(QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented)));
    return exitCode;
}
