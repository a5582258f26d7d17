#pragma once

// The one loop behind every transfer of several items (whole configuration,
// grid pages, goods database): run a device command per item, show progress,
// and after a failure ask whether to go on. Pages configure it; none writes
// its own.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "device/Protocol.h"

class Progress;
class UserDialogs;

// What one item's command gave: its status and, on failure, its error text
// (Windows-1251, as the commands fill it).
struct ItemResult {
    CommandStatus status = StatusOk;
    QByteArray errorText;
    bool ok() const { return status == StatusOk; }
};

// Runs a command with a fresh error buffer and returns its outcome.
ItemResult RunCommand(const std::function<CommandStatus(char* errorText)>& command);

// What a transfer did, over every loop it runs: the items done, the items
// that failed (named, in their order) and whether it ended before its last
// item. One outcome is shared by the loops of one transfer, so that "Да для
// всех" holds for the rest of it and the final message counts all of it.
struct TransferOutcome {
    int done = 0;
    QStringList failed;
    // Ended before its last item: "Нет" after a failure, or the user's stop.
    bool stopped = false;
    // The stop was the user's ("Прервать", Ctrl+C), not an answer to a failure.
    bool stopRequested = false;
    // The item whose exchange was in flight when the stop came and failed:
    // reported with the stop, not as a device failure.
    QString interrupted;
    // False after "Да для всех": later failures of the transfer are not asked about.
    bool askOnFailure = true;

    bool clean() const { return failed.isEmpty() && !stopped; }
};

struct ItemLoopOptions {
    // Put before the command's error text, e.g. "Не удалось прочитать параметр... ".
    QString failureLead;
    // Steps of the progress bar: item i (0-based) reports progressDone(i) of progressTotal.
    // progressTotal 0 means no progress steps.
    int progressTotal = 0;
    std::function<int(int index)> progressDone;  // default: index + 1
    // ProgressBegin before the first item and ProgressEnd after the last (or the stop).
    bool beginEndProgress = true;
    // The hourglass while the items run.
    bool busyCursor = true;
    // false: the first failure ends the loop without a question (the form
    // table reading stops silently at a form that does not answer).
    bool askOnFailure = true;
    // Names item `index` for the user ("оператор 3, строка 2") when it fails.
    std::function<QString(int index)> itemName;
    // The transfer's outcome this loop adds to; without one the loop keeps its own.
    TransferOutcome* outcome = nullptr;
};

// Runs items 0..count-1. `item` returns the command's result, or nothing when
// the item is skipped without a step. After a failure the user is asked
// failureLead + error text + "\n Продолжить?" (UserDialogs::continueAfterFailure,
// with the item's name) unless "Да для всех" was answered earlier in the
// transfer; No stops at once (or, without askOnFailure, the loop stops at the
// failure itself and the dialogs are only told).
// The loop also ends, before the next item, once progress.stopRequested() says
// so; a stop asked for while an exchange was waiting ends the loop when that
// exchange ends, and its failure is not asked about.
// Returns true when every item was run, false when the user stopped.
bool RunItemLoop(int count, const std::function<std::optional<ItemResult>(int index)>& item,
                 const ItemLoopOptions& options, Progress& progress, UserDialogs& dialogs);

// The words of a transfer's summary: "Записано", "Не записаны", "Остальные не записывались.".
struct OutcomeWords {
    QString done;
    QString failed;
    QString rest;
};
OutcomeWords WrittenWords();
OutcomeWords ReadWords();
OutcomeWords ErasedWords();

// How many failed items a summary names before it only counts the rest.
constexpr int NamedFailuresLimit = 10;

// "Записано: 998 из 1001. Не записаны: товар 225, товар 226, товар 227."; a
// transfer that stopped counts what it did and says the rest was not done.
QString OutcomeSummary(const TransferOutcome& outcome, const OutcomeWords& words);

// The end of a transfer, once its indicators are down: `successText` exactly
// when every item went; "Операция прервана." after the user's stop (with the
// summary when an item failed); otherwise the summary as an error.
void ReportOutcome(const TransferOutcome& outcome, const QString& successText,
                   const OutcomeWords& words, UserDialogs& dialogs);

// After a long transfer has taken its indicators down: tells the user
// "Операция прервана." when it ended on a stop request. True when it did, so
// the caller shows no success message.
bool ReportIfStopped(Progress& progress, UserDialogs& dialogs);

// The question after a failed item of a loop.
QString ContinueQuestion(const QString& lead, const QByteArray& errorText);
// The message after a failed single command: lead + error text, with a space
// between them when neither brings one.
QString FailureMessage(const QString& lead, const QByteArray& errorText);
