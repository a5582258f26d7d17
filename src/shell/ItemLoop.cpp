#include "shell/ItemLoop.h"

#include <cstring>

#include "device/DeviceCharset.h"
#include "shell/Progress.h"
#include "shell/UserDialogs.h"

ItemResult RunCommand(const std::function<CommandStatus(char* errorText)>& command) {
    char errorText[ErrorTextSize] = {};
    ItemResult result;
    result.status = command(errorText);
    if (result.status != StatusOk) result.errorText = FieldText(errorText, ErrorTextSize);
    return result;
}

QString FailureMessage(const QString& lead, const QByteArray& errorText) {
    const QString error = FromCp1251(errorText);
    // The device's texts begin with a space, the link's do not: the two
    // sentences never run together.
    if (!lead.isEmpty() && !error.isEmpty() && !lead.back().isSpace() && !error.front().isSpace())
        return lead + QLatin1Char(' ') + error;
    return lead + error;
}

QString ContinueQuestion(const QString& lead, const QByteArray& errorText) {
    return ContinueQuestionText(FailureMessage(lead, errorText));
}

bool RunItemLoop(int count, const std::function<std::optional<ItemResult>(int index)>& item,
                 const ItemLoopOptions& options, Progress& progress, UserDialogs& dialogs) {
    // Indicators come down also when a command throws (a factory number that
    // does not convert), so the window is never left with the hourglass.
    struct Indicators {
        const ItemLoopOptions& options;
        Progress& progress;
        Indicators(const ItemLoopOptions& o, Progress& p) : options(o), progress(p) {
            if (options.busyCursor) progress.setBusyCursor(true);
            if (options.beginEndProgress) progress.begin();
        }
        ~Indicators() {
            if (options.beginEndProgress) progress.end();
            if (options.busyCursor) progress.setBusyCursor(false);
        }
    } indicators(options, progress);
    TransferOutcome own;
    TransferOutcome& outcome = options.outcome ? *options.outcome : own;
    const auto stop = [&](bool requested) {
        outcome.stopped = true;
        outcome.stopRequested = outcome.stopRequested || requested;
        return false;
    };
    for (int index = 0; index < count; ++index) {
        // A stop asked for in an earlier phase of the same transfer ends this
        // one before it sends anything.
        if (progress.stopRequested()) return stop(true);
        const std::optional<ItemResult> result = item(index);
        if (!result) continue;
        if (result->ok()) {
            ++outcome.done;
        } else {
            const QString name = options.itemName ? options.itemName(index) : QString();
            outcome.failed.append(name);
            // The exchange held the window while it waited on the line: a
            // "Прервать" clicked meanwhile is only now delivered. A stop asked
            // for is the answer; the failure it cut short is no device fault.
            progress.processEvents();
            if (progress.stopRequested()) {
                outcome.interrupted = name;
                return stop(true);
            }
            const QString message = FailureMessage(options.failureLead, result->errorText);
            if (!options.askOnFailure) {
                dialogs.failureEndedLoop(name, message);
                return stop(false);
            }
            if (outcome.askOnFailure) {
                const FailureAnswer answer = dialogs.continueAfterFailure(
                    {name, message,
                     result->status == StatusNoAnswer || result->status == StatusOutOfStep});
                if (answer == FailureAnswer::Stop) return stop(false);
                if (answer == FailureAnswer::ContinueAll) outcome.askOnFailure = false;
            }
        }
        if (options.progressTotal > 0) {
            const int done = options.progressDone ? options.progressDone(index) : index + 1;
            progress.step(done, options.progressTotal);
        } else {
            progress.processEvents();
        }
    }
    return true;
}

OutcomeWords WrittenWords() {
    return {QStringLiteral("Записано"), QStringLiteral("Не записаны"),
            QStringLiteral("Остальные не записывались.")};
}

OutcomeWords ReadWords() {
    return {QStringLiteral("Прочитано"), QStringLiteral("Не прочитаны"),
            QStringLiteral("Остальные не читались.")};
}

OutcomeWords ErasedWords() {
    return {QStringLiteral("Стерто"), QStringLiteral("Не стерты"),
            QStringLiteral("Остальные не стирались.")};
}

QString OutcomeSummary(const TransferOutcome& outcome, const OutcomeWords& words) {
    const int failed = int(outcome.failed.size());
    QString text = words.done + QStringLiteral(": ") + QString::number(outcome.done);
    // A stopped transfer never reached its total: "из" would promise one.
    if (!outcome.stopped) text += QStringLiteral(" из %1").arg(outcome.done + failed);
    text += QLatin1Char('.');
    if (failed > 0) {
        QStringList named;
        int unnamed = 0;
        for (const QString& item : outcome.failed) {
            if (item.isEmpty() || named.size() >= NamedFailuresLimit)
                ++unnamed;
            else
                named.append(item);
        }
        text += QLatin1Char(' ') + words.failed + QStringLiteral(": ");
        if (named.isEmpty())
            text += QString::number(unnamed);
        else if (unnamed > 0)
            text += named.join(QStringLiteral(", ")) + QStringLiteral(" и ещё %1").arg(unnamed);
        else
            text += named.join(QStringLiteral(", "));
        text += QLatin1Char('.');
    }
    if (outcome.stopped) text += QLatin1Char(' ') + words.rest;
    return text;
}

void ReportOutcome(const TransferOutcome& outcome, const QString& successText,
                   const OutcomeWords& words, UserDialogs& dialogs) {
    const QString stopped = QStringLiteral("Операция прервана.");
    if (outcome.stopRequested) {
        if (outcome.failed.isEmpty())
            dialogs.warning(stopped);
        else
            dialogs.warning(stopped + QLatin1Char('\n') + OutcomeSummary(outcome, words));
    } else if (outcome.clean()) {
        dialogs.success(successText);
    } else {
        dialogs.transferSummary(OutcomeSummary(outcome, words));
    }
}

bool ReportIfStopped(Progress& progress, UserDialogs& dialogs) {
    if (!progress.stopRequested()) return false;
    dialogs.warning(QStringLiteral("Операция прервана."));
    return true;
}
