#pragma once

// The one loop behind every transfer of several items (whole configuration,
// grid pages, goods database): run a device command per item, show progress,
// and after a failure ask whether to go on. Pages configure it; none writes
// its own.

#include <QByteArray>
#include <QString>
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
};

// Runs items 0..count-1. `item` returns the command's result, or nothing when
// the item is skipped without a step. After a failure the user is asked
// failureLead + error text + "\n Продолжить?" (UserDialogs::continueAfterFailure,
// with the item's name); No stops at once (or, without askOnFailure, the loop
// stops at the failure itself and the dialogs are only told).
// The loop also ends, before the next item, once progress.stopRequested() says so.
// Returns true when every item was run, false when the user stopped.
bool RunItemLoop(int count, const std::function<std::optional<ItemResult>(int index)>& item,
                 const ItemLoopOptions& options, Progress& progress, UserDialogs& dialogs);

// After a long transfer has taken its indicators down: tells the user
// "Операция прервана." when it ended on a stop request. True when it did, so
// the caller shows no success message.
bool ReportIfStopped(Progress& progress, UserDialogs& dialogs);

// The question after a failed item of a loop.
QString ContinueQuestion(const QString& lead, const QByteArray& errorText);
// The message after a failed single command: lead + error text, with a space
// between them when neither brings one.
QString FailureMessage(const QString& lead, const QByteArray& errorText);
