#include "shell/ItemLoop.h"

#include <cstring>

#include "config/DeviceCharset.h"
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
    bool completed = true;
    for (int index = 0; index < count; ++index) {
        // A stop asked for in an earlier phase of the same transfer ends this
        // one before it sends anything.
        if (progress.stopRequested()) {
            completed = false;
            break;
        }
        const std::optional<ItemResult> result = item(index);
        if (!result) continue;
        if (!result->ok()) {
            const QString item = options.itemName ? options.itemName(index) : QString();
            const QString message = FailureMessage(options.failureLead, result->errorText);
            if (!options.askOnFailure) {
                dialogs.failureEndedLoop(item, message);
                completed = false;
                break;
            }
            if (!dialogs.continueAfterFailure(item, message)) {
                completed = false;
                break;
            }
        }
        if (options.progressTotal > 0) {
            const int done = options.progressDone ? options.progressDone(index) : index + 1;
            progress.step(done, options.progressTotal);
        } else {
            progress.processEvents();
        }
    }
    return completed;
}

bool ReportIfStopped(Progress& progress, UserDialogs& dialogs) {
    if (!progress.stopRequested()) return false;
    dialogs.warning(QStringLiteral("Операция прервана."));
    return true;
}
