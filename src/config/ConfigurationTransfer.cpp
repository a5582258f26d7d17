#include "config/ConfigurationTransfer.h"

#include <functional>

#include "config/ConfigurationDiff.h"
#include "config/DeviceConfiguration.h"
#include "config/ParameterCatalogue.h"
#include "config/ParameterIO.h"
#include "config/UploadSkips.h"
#include "device/DeviceCharset.h"
#include "device/Protocol.h"
#include "shell/IndicatorsOnThrow.h"
#include "shell/ItemLoop.h"
#include "shell/Progress.h"
#include "shell/UserDialogs.h"

namespace {

constexpr int LinesPerRecord = 3;
constexpr int RecordPhaseSteps = OperatorCount * LinesPerRecord;  // 24, as for services too

QString ReadLead() {
    return QStringLiteral("Не удалось прочитать параметр... ");
}
QString WriteLead() {
    return QStringLiteral("Не удалось записать параметр... ");
}

// A phase that runs over the 24 lines of eight three-line records with a
// progress step after each line. `record` names a record for the user
// ("оператор": item 7 is "оператор 3, строка 2").
ItemLoopOptions RecordPhase(const QString& lead, const QString& record) {
    ItemLoopOptions options;
    options.failureLead = lead;
    options.progressTotal = RecordPhaseSteps;
    options.itemName = [record](int i) {
        return QStringLiteral("%1 %2, строка %3")
            .arg(record)
            .arg(i / LinesPerRecord + 1)
            .arg(i % LinesPerRecord + 1);
    };
    return options;
}

// One item with the hourglass and no progress bar: the document name.
ItemLoopOptions SingleItem(const QString& lead, const QString& name) {
    ItemLoopOptions options;
    options.failureLead = lead;
    options.beginEndProgress = false;
    options.itemName = [name](int) { return name; };
    return options;
}

// The eight lines of cliché `clicheNumber`; the caller handles the bar and the cursor.
ItemLoopOptions ClicheLines(const QString& lead, int clicheNumber) {
    ItemLoopOptions options;
    options.failureLead = lead;
    options.progressTotal = ClicheLineCount;
    options.beginEndProgress = false;
    options.busyCursor = false;
    options.itemName = [clicheNumber](int line) {
        return QStringLiteral("клише %1, строка %2").arg(clicheNumber).arg(line + 1);
    };
    return options;
}

// The options of a loop that counts into the transfer's outcome.
ItemLoopOptions In(TransferOutcome& outcome, ItemLoopOptions options) {
    options.outcome = &outcome;
    return options;
}

const QString OperatorItem = QStringLiteral("оператор");
const QString ServiceItem = QStringLiteral("услуга");
const QString RequisiteItem = QStringLiteral("реквизит");
const QString DocumentNameItem = QStringLiteral("ДСО");

// The wait window comes down when a phase stopped; the caller tells the outcome.
bool Stop(Progress& progress) {
    progress.hideWait();
    return false;
}

// The model field of an operator's line 1 to 3 (position, name, password).
struct OperatorField {
    char* bytes;
    int size;
};
OperatorField OperatorLineField(OperatorRecord& op, int line) {
    switch (line) {
        case OperatorPositionLine:
            return {op.position.bytes, int(sizeof op.position.bytes)};
        case OperatorNameLine:
            return {op.name.bytes, int(sizeof op.name.bytes)};
        default:
            return {op.password, int(sizeof op.password)};
    }
}

// The device's refusal of a cliché it does not have.
constexpr uint8_t NoSuchClicheError = 51;

// The read of line 1 that tells whether the device has the cliché at all.
bool DeviceHasCliche(int clicheNumber) {
    char data[DeviceDataSize + 1] = {};
    char errorText[ErrorTextSize] = {};
    uint8_t deviceError = 0;
    const CommandStatus status = ParameterCommand(ModeRead, GroupCliche, uint8_t(clicheNumber), 1,
                                                  data, deviceError, errorText);
    return !(status == StatusDeviceError && deviceError == NoSuchClicheError);
}

// Notes an item whose read failed; `unread` may be null (the plain download,
// whose failed items keep the program's values and are named by the loop).
void NoteUnread(UnreadItems* unread, const ItemResult& result, const ConfigurationItem& item) {
    if (unread && !result.ok()) unread->failed.append(item);
}

// The items of the download; the wait window is left up when every phase ran
// to its end, for the caller to take down after what it adds. An item whose
// read fails keeps what `config` held and goes into `unread`, when given.
bool DownloadItems(DeviceConfiguration& config, ConfigurationPages* pages, Progress& progress,
                   UserDialogs& dialogs, TransferOutcome& outcome, UnreadItems* unread = nullptr) {
    progress.showWait(QStringLiteral("Данные операторов..."));
    progress.processEvents();

    // Operators: position, name and password; line 1 carries the access flag.
    bool goOn = RunItemLoop(
        RecordPhaseSteps,
        [&](int i) -> std::optional<ItemResult> {
            OperatorRecord& op = config.operators[i / LinesPerRecord];
            const int line = i % LinesPerRecord + 1;
            const OperatorField field = OperatorLineField(op, line);
            const ItemResult result = ReadParameterText(
                GroupOperator, uint8_t(i / LinesPerRecord + 1), uint8_t(line), field.bytes,
                field.size, line == OperatorPositionLine ? &op.access : nullptr);
            NoteUnread(unread, result,
                       {ConfigurationItemKind::OperatorLine, i / LinesPerRecord + 1, line});
            return result;
        },
        In(outcome, RecordPhase(ReadLead(), OperatorItem)), progress, dialogs);
    if (pages) pages->refreshOperators();
    if (!goOn) return Stop(progress);

    progress.setWaitText(QStringLiteral("ДСО..."));
    goOn = RunItemLoop(
        1,
        [&](int) -> std::optional<ItemResult> {
            const ItemResult result =
                ReadParameterText(GroupDocumentName, 1, 1, config.documentName);
            NoteUnread(unread, result, {ConfigurationItemKind::DocumentName, 1, 1});
            return result;
        },
        In(outcome, SingleItem(ReadLead(), DocumentNameItem)), progress, dialogs);
    // A stop here leaves the document-name page as it was.
    if (!goOn) return Stop(progress);
    if (pages) pages->refreshDocumentName();

    const auto readRecords = [&](ParameterGroup group, ConfigurationItemKind kind,
                                 ThreeLineRecord* records, const QString& record) {
        return RunItemLoop(
            RecordPhaseSteps,
            [&, group, kind, records](int i) -> std::optional<ItemResult> {
                ThreeLineRecord& record = records[i / LinesPerRecord];
                const ItemResult result = ReadParameterText(
                    group, uint8_t(i / LinesPerRecord + 1), uint8_t(i % LinesPerRecord + 1),
                    record.lines[i % LinesPerRecord], &record.access);
                NoteUnread(unread, result, {kind, i / LinesPerRecord + 1, i % LinesPerRecord + 1});
                return result;
            },
            In(outcome, RecordPhase(ReadLead(), record)), progress, dialogs);
    };

    progress.setWaitText(QStringLiteral("Наименование услуг..."));
    goOn =
        readRecords(GroupService, ConfigurationItemKind::ServiceLine, config.services, ServiceItem);
    if (pages) pages->refreshServices();
    if (!goOn) return Stop(progress);

    progress.setWaitText(QStringLiteral("Дополнительные реквизиты..."));
    goOn = readRecords(GroupRequisite, ConfigurationItemKind::RequisiteLine, config.requisites,
                       RequisiteItem);
    if (pages) pages->refreshRequisites();
    if (!goOn) return Stop(progress);

    progress.setWaitText(QStringLiteral("Клише..."));
    for (int c = 0; c < ClicheCount; ++c) {
        ItemLoopOptions options = In(outcome, ClicheLines(ReadLead(), c + 1));
        options.beginEndProgress = true;
        goOn = RunItemLoop(
            ClicheLineCount,
            [&](int line) -> std::optional<ItemResult> {
                uint8_t refusal = 0;
                const ItemResult result =
                    ReadParameterText(GroupCliche, uint8_t(c + 1), uint8_t(line + 1),
                                      config.cliches[c].lines[line], nullptr, &refusal);
                // The refusal the upload also takes for "no such cliché": not
                // an unknown line, a line the device does not have.
                if (unread && refusal == NoSuchClicheError) {
                    if (!unread->absentCliches.contains(c + 1)) unread->absentCliches.append(c + 1);
                    return result;
                }
                NoteUnread(unread, result, {ConfigurationItemKind::ClicheLine, c + 1, line + 1});
                return result;
            },
            options, progress, dialogs);
        progress.setBusyCursor(false);
        if (pages) pages->refreshCliche(c);
        if (!goOn) return Stop(progress);
    }
    return true;
}

// Whether the upload writes an item; every item the upload would skip (an
// operator without access or a usable password, a record without access) is
// skipped all the same.
using ItemWanted = std::function<bool(const ConfigurationItem&)>;

bool WantsAny(const ItemWanted& wanted, ConfigurationItemKind kind, int record, int lines) {
    for (int line = 1; line <= lines; ++line)
        if (wanted({kind, record, line})) return true;
    return false;
}

// The upload's phases for the items `wanted` takes; the wait window is left
// up when every phase ran to its end, as after DownloadItems.
bool UploadItems(const DeviceConfiguration& config, const ItemWanted& wanted,
                 TransferOutcome& outcome) {
    Progress& progress = CurrentProgress();
    UserDialogs& dialogs = Dialogs();
    MachineNumberValue(CurrentPortSettings().MachineNumber);

    // Stays for the rest of the run: the wait window is shared and nothing sets it back.
    progress.setWaitCaption(QStringLiteral("Загрузка..."));
    progress.showWait(QStringLiteral("Данные операторов..."));
    progress.processEvents();

    bool goOn = RunItemLoop(
        RecordPhaseSteps,
        [&](int i) -> std::optional<ItemResult> {
            OperatorRecord op = config.operators[i / LinesPerRecord];
            const int line = i % LinesPerRecord + 1;
            const ConfigurationItem item{ConfigurationItemKind::OperatorLine,
                                         i / LinesPerRecord + 1, line};
            if (!UploadSkipReason(config, item).isEmpty() || !wanted(item)) return std::nullopt;
            const OperatorField field = OperatorLineField(op, line);
            return WriteParameterText(GroupOperator, uint8_t(i / LinesPerRecord + 1), uint8_t(line),
                                      field.bytes, field.size);
        },
        In(outcome, RecordPhase(WriteLead(), OperatorItem)), progress, dialogs);
    if (!goOn) return Stop(progress);

    progress.setWaitText(QStringLiteral("Загрузка ДСО..."));
    goOn = RunItemLoop(
        1,
        [&](int) -> std::optional<ItemResult> {
            if (!wanted({ConfigurationItemKind::DocumentName, 1, 1})) return std::nullopt;
            return WriteParameterText(GroupDocumentName, 1, 1, config.documentName);
        },
        In(outcome, SingleItem(WriteLead(), DocumentNameItem)), progress, dialogs);
    if (!goOn) return Stop(progress);

    const auto writeRecords = [&](ParameterGroup group, ConfigurationItemKind kind,
                                  const ThreeLineRecord* records, const QString& record) {
        return RunItemLoop(
            RecordPhaseSteps,
            [&, group, kind, records](int i) -> std::optional<ItemResult> {
                const ThreeLineRecord& record = records[i / LinesPerRecord];
                const ConfigurationItem item{kind, i / LinesPerRecord + 1, i % LinesPerRecord + 1};
                if (!UploadSkipReason(config, item).isEmpty() || !wanted(item)) return std::nullopt;
                return WriteParameterText(group, uint8_t(i / LinesPerRecord + 1),
                                          uint8_t(i % LinesPerRecord + 1),
                                          record.lines[i % LinesPerRecord]);
            },
            In(outcome, RecordPhase(WriteLead(), record)), progress, dialogs);
    };

    progress.setWaitText(QStringLiteral("Загрузка услуг..."));
    if (!writeRecords(GroupService, ConfigurationItemKind::ServiceLine, config.services,
                      ServiceItem))
        return Stop(progress);

    progress.setWaitText(QStringLiteral("Загрузка дополнительных услуг..."));
    if (!writeRecords(GroupRequisite, ConfigurationItemKind::RequisiteLine, config.requisites,
                      RequisiteItem))
        return Stop(progress);

    // The bar and the hourglass are set up once for both clichés and taken down
    // after each, so the second cliché runs on a hidden bar with the normal cursor.
    progress.setWaitText(QStringLiteral("Загрузка клише..."));
    progress.setBusyCursor(true);
    progress.begin();
    for (int c = 0; c < ClicheCount; ++c) {
        // A cliché none of whose lines is written is not asked about either.
        if (WantsAny(wanted, ConfigurationItemKind::ClicheLine, c + 1, ClicheLineCount) &&
            DeviceHasCliche(c + 1)) {
            goOn = RunItemLoop(
                ClicheLineCount,
                [&](int line) -> std::optional<ItemResult> {
                    if (!wanted({ConfigurationItemKind::ClicheLine, c + 1, line + 1}))
                        return std::nullopt;
                    return WriteParameterText(GroupCliche, uint8_t(c + 1), uint8_t(line + 1),
                                              config.cliches[c].lines[line]);
                },
                In(outcome, ClicheLines(WriteLead(), c + 1)), progress, dialogs);
        }
        progress.end();
        progress.setBusyCursor(false);
        if (!goOn) return Stop(progress);
    }

    return true;
}

// An upload and its final message.
bool Upload(const DeviceConfiguration& config, const ItemWanted& wanted) {
    MachineNumberValue(CurrentPortSettings().MachineNumber);  // throws before anything shows
    IndicatorsOnThrow guard(CurrentProgress());
    TransferOutcome outcome;
    const bool completed = UploadItems(config, wanted, outcome);
    if (completed) CurrentProgress().hideWait();
    ReportOutcome(outcome, QStringLiteral("Записано удачно..."), WrittenWords(), Dialogs());
    return completed;
}

}  // namespace

bool DownloadConfiguration(DeviceConfiguration& config, ConfigurationPages* pages) {
    Progress& progress = CurrentProgress();
    UserDialogs& dialogs = Dialogs();
    MachineNumberValue(CurrentPortSettings().MachineNumber);  // throws before anything shows
    IndicatorsOnThrow guard(progress);
    TransferOutcome outcome;
    const bool completed = DownloadItems(config, pages, progress, dialogs, outcome);
    if (completed) progress.hideWait();
    ReportOutcome(outcome, QStringLiteral("Прочитано удачно..."), ReadWords(), dialogs);
    return completed;
}

bool UploadConfiguration(DeviceConfiguration& config) {
    return Upload(config, [](const ConfigurationItem&) { return true; });
}

bool UploadConfigurationItems(const DeviceConfiguration& config,
                              const QVector<ConfigurationItem>& items) {
    return Upload(config, [&items](const ConfigurationItem& item) { return items.contains(item); });
}

bool DownloadConfigurationPhases(DeviceConfiguration& config, TransferOutcome& outcome,
                                 UnreadItems* unread) {
    MachineNumberValue(CurrentPortSettings().MachineNumber);
    return DownloadItems(config, nullptr, CurrentProgress(), Dialogs(), outcome, unread);
}

bool UploadConfigurationPhases(const DeviceConfiguration& config,
                               const QVector<ConfigurationItem>& items, TransferOutcome& outcome) {
    return UploadItems(
        config, [&items](const ConfigurationItem& item) { return items.contains(item); }, outcome);
}
