#include "forms/FormTableTransfer.h"

#include "admin/StateDecoding.h"
#include "config/ConfigurationDiff.h"
#include "config/DeviceConfiguration.h"
#include "device/PortSettings.h"
#include "device/Protocol.h"
#include "forms/FormTransfer.h"
#include "shell/IndicatorsOnThrow.h"
#include "shell/ItemLoop.h"
#include "shell/Progress.h"
#include "shell/UserDialogs.h"

namespace {

// The eight forms with the question after a failure, each named; `lead` is
// the form constructor's own message for a form that failed.
ItemLoopOptions FormPhase(const QString& lead) {
    ItemLoopOptions options;
    options.failureLead = lead;
    options.progressTotal = FormCount;
    options.itemName = [](int n) { return QStringLiteral("форма %1").arg(n + 1); };
    return options;
}

}  // namespace

bool ReadFormsPhase(DeviceConfiguration& config, TransferOutcome& outcome, UnreadItems& unread) {
    Progress& progress = CurrentProgress();
    progress.setWaitText(QStringLiteral("Формы БСО..."));
    ItemLoopOptions options = FormPhase(QStringLiteral("Не удалось прочитать бланк..."));
    options.outcome = &outcome;
    const bool goOn = RunItemLoop(
        FormCount,
        [&](int n) -> std::optional<ItemResult> {
            const ItemResult result = ReadForm(config, n + 1, FormStatusUpdate::FromAnswer);
            if (!result.ok()) unread.failed.append({ConfigurationItemKind::Form, n + 1, 1});
            return result;
        },
        options, progress, Dialogs());
    if (!goOn) progress.hideWait();
    return goOn;
}

bool ProgramFormsPhase(const DeviceConfiguration& config, const QVector<ConfigurationItem>& items,
                       TransferOutcome& outcome) {
    bool any = false;
    for (const ConfigurationItem& item : items)
        any = any || item.kind == ConfigurationItemKind::Form;
    if (!any) return true;
    Progress& progress = CurrentProgress();
    progress.setWaitText(QStringLiteral("Загрузка форм БСО..."));
    ItemLoopOptions options = FormPhase(QStringLiteral("Не удалось запрограммировать бланк... "));
    options.outcome = &outcome;
    const bool goOn = RunItemLoop(
        FormCount,
        [&](int n) -> std::optional<ItemResult> {
            if (!items.contains(ConfigurationItem{ConfigurationItemKind::Form, n + 1, 1}))
                return std::nullopt;
            return ProgramForm(config, n + 1);
        },
        options, progress, Dialogs());
    if (!goOn) progress.hideWait();
    return goOn;
}

std::optional<int> ReadFormTable(DeviceConfiguration& config) {
    Progress& progress = CurrentProgress();
    UserDialogs& dialogs = Dialogs();
    MachineNumberValue(CurrentPortSettings().MachineNumber);
    IndicatorsOnThrow guard(progress);

    progress.showWait(QStringLiteral("Запрос текущей группы..."));
    progress.processEvents();

    std::optional<int> group;
    const StateQuery state = QueryDeviceState();
    if (state.ok()) group = state.answer.currentGroup;
    const bool readForms =
        state.ok() ||
        dialogs.confirm(QStringLiteral("Не удалось выполнить запрос состояния!\nТекущая группа "
                                       "неизвестна. Желаете продолжить?"));
    TransferOutcome outcome;
    if (readForms) {
        ItemLoopOptions options;
        options.outcome = &outcome;
        options.askOnFailure = false;  // the first form that fails ends the table silently
        options.beginEndProgress = false;
        options.busyCursor = false;
        options.itemName = [](int n) { return QStringLiteral("форма %1").arg(n + 1); };
        RunItemLoop(
            FormCount,
            [&](int n) -> std::optional<ItemResult> {
                return ReadForm(config, n + 1, FormStatusUpdate::FromAnswer);
            },
            options, progress, dialogs);
    }
    progress.hideWait();
    // The table has no success message; a form that could not be read, or a
    // stop, is told with what was read before it.
    if (!outcome.clean()) ReportOutcome(outcome, {}, ReadWords(), dialogs);
    return group;
}
