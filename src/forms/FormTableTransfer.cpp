#include "forms/FormTableTransfer.h"

#include <functional>

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

// The eight forms in the wait window a transfer has up, with the question
// after a failure, each named; `lead` is the form constructor's own message
// for a form that failed. The wait window comes down when the phase stopped.
bool FormsPhase(const QString& waitText, const QString& lead, TransferOutcome& outcome,
                const std::function<std::optional<ItemResult>(int form)>& command) {
    Progress& progress = CurrentProgress();
    progress.setWaitText(waitText);
    ItemLoopOptions options;
    options.failureLead = lead;
    options.progressTotal = FormCount;
    options.itemName = [](int n) { return QStringLiteral("форма %1").arg(n + 1); };
    options.outcome = &outcome;
    const bool goOn = RunItemLoop(
        FormCount, [&](int n) { return command(n + 1); }, options, progress, Dialogs());
    if (!goOn) progress.hideWait();
    return goOn;
}

}  // namespace

bool ReadFormsPhase(DeviceConfiguration& config, TransferOutcome& outcome, UnreadItems& unread) {
    return FormsPhase(
        QStringLiteral("Формы БСО..."), QStringLiteral("Не удалось прочитать бланк..."), outcome,
        [&](int form) -> std::optional<ItemResult> {
            const ItemResult result = ReadForm(config, form, FormStatusUpdate::FromAnswer);
            if (!result.ok()) unread.failed.append({ConfigurationItemKind::Form, form, 1});
            return result;
        });
}

bool ProgramFormsPhase(const DeviceConfiguration& config, const QVector<ConfigurationItem>& items,
                       TransferOutcome& outcome) {
    const auto wanted = [&items](int form) {
        return items.contains(ConfigurationItem{ConfigurationItemKind::Form, form, 1});
    };
    bool any = false;
    for (int form = 1; form <= FormCount; ++form) any = any || wanted(form);
    if (!any) return true;
    return FormsPhase(QStringLiteral("Загрузка форм БСО..."),
                      QStringLiteral("Не удалось запрограммировать бланк... "), outcome,
                      [&](int form) -> std::optional<ItemResult> {
                          if (!wanted(form)) return std::nullopt;
                          return ProgramForm(config, form);
                      });
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
