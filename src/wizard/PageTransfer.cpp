#include "wizard/PageTransfer.h"

#include <cstring>
#include <optional>

#include "config/DeviceConfiguration.h"
#include "config/ParameterCatalogue.h"
#include "config/ParameterIO.h"
#include "device/PortSettings.h"
#include "device/Prot.h"
#include "shell/ItemLoop.h"
#include "shell/Progress.h"
#include "shell/UserDialogs.h"
#include "wizard/DeviceLine.h"

namespace {

QString ReadDone() {
    return QStringLiteral("Прочитано удачно...");
}
QString WriteDone() {
    return QStringLiteral("Записано удачно...");
}

// Reading empties fields before the first command; a factory number that
// does not convert must stop the action before that, not after.
void CheckMachineNumber() {
    (void)MachineNumberValue(CurrentPortSettings().MachineNumber);
}

// The hourglass and the progress bar of one transfer. They come down before
// the final message, and also when a command throws.
class Indicators {
public:
    explicit Indicators(Progress& progress) : progress_(progress) {
        progress_.setBusyCursor(true);
        progress_.begin();
    }
    ~Indicators() {
        if (!finished_) {
            progress_.end();
            progress_.setBusyCursor(false);
        }
    }
    // Progress bar down, the page shown again (when asked), normal pointer.
    void finish(PageView* refillView) {
        finished_ = true;
        progress_.end();
        if (refillView) refillView->refill();
        progress_.setBusyCursor(false);
    }

private:
    Progress& progress_;
    bool finished_ = false;
};

ItemLoopOptions LoopOptions(const QString& lead, int total) {
    ItemLoopOptions options;
    options.failureLead = lead;
    options.progressTotal = total;
    options.beginEndProgress = false;  // Indicators own them, so the refill fits in between
    options.busyCursor = false;
    return options;
}

uint8_t* RecordFlag(const TransferPage& page, int item, int line) {
    if (!page.access) return nullptr;
    if (!page.recordFlagOnEveryLine && line != 0) return nullptr;
    return page.access(item);
}

bool AccessDenied(const TransferPage& page, int item) {
    return page.access && *page.access(item) == 0;
}

ItemResult ReadLine(const TransferPage& page, int item, int line) {
    const TextField f = page.field(item, line);
    return ReadParameterText(page.group, uint8_t(page.firstIndex + item), uint8_t(line + 1),
                             f.bytes, f.size, RecordFlag(page, item, line));
}

ItemResult WriteLine(const TransferPage& page, int item, int line, PageView& view) {
    const TextField f = page.field(item, line);
    uint8_t* flag = RecordFlag(page, item, line);
    ItemResult result = WriteParameterText(page.group, uint8_t(page.firstIndex + item),
                                           uint8_t(line + 1), f.bytes, f.size, flag);
    // The device's answer decides what "Дост." shows, even when it refused.
    if (flag) view.showAccess(item);
    return result;
}

void ClearItem(const TransferPage& page, int item) {
    for (int line = 0; line < page.lines; ++line) {
        const TextField f = page.field(item, line);
        std::memset(f.bytes, 0, std::size_t(f.size));
    }
}

// Empties what a read is about to replace, before its command goes out.
void ClearBeforeRead(const TransferPage& page, int item, int line, PageView& view) {
    if (!page.clearWholeItemFirst) {
        view.clearCells(item, line);
    } else if (line == 0) {
        ClearItem(page, item);
        view.clearCells(item, -1);
    }
}

TextField FieldOf(DeviceText& text) {
    return {text.bytes, int(sizeof text.bytes)};
}

}  // namespace

QString ReadFailureLead() {
    return QStringLiteral("Не удалось прочитать параметр... ");
}
QString WriteFailureLead() {
    return QStringLiteral("Не удалось записать параметр... ");
}

TransferPage OperatorsTransfer(DeviceConfiguration& config) {
    TransferPage page;
    page.group = GroupOperator;
    page.items = OperatorCount;
    page.lines = 3;
    page.field = [&config](int item, int line) -> TextField {
        OperatorRecord& op = config.operators[item];
        if (line == 0) return FieldOf(op.position);
        if (line == 1) return FieldOf(op.name);
        return {op.password, int(sizeof op.password)};
    };
    page.access = [&config](int item) { return &config.operators[item].access; };
    page.recordFlagOnEveryLine = false;
    page.clearWholeItemFirst = true;
    page.refillAfterWrite = false;
    page.passwordUsable = [&config](int item) {
        return PasswordUsable(config.operators[item].password);
    };
    page.singleReadLead = ReadFailureLead();
    page.lastLineWriteLead = QStringLiteral("Не удалось записать параметр...");
    return page;
}

TransferPage ThreeLineTransfer(DeviceConfiguration& config, uint8_t group) {
    TransferPage page;
    page.group = group;
    ThreeLineRecord* records = group == GroupService ? config.services : config.requisites;
    page.items = group == GroupService ? ServiceCount : RequisiteCount;
    page.lines = 3;
    page.field = [records](int item, int line) { return FieldOf(records[item].lines[line]); };
    page.access = [records](int item) { return &records[item].access; };
    page.endAfterFailedItem = true;
    page.singleReadLead = group == GroupService ? QStringLiteral("Не удалось прочитать параметр...")
                                                : ReadFailureLead();
    page.lastLineWriteLead = WriteFailureLead();
    return page;
}

TransferPage ClicheTransfer(DeviceConfiguration& config, int cliche) {
    TransferPage page;
    page.group = GroupCliche;
    page.items = 1;
    page.lines = ClicheLineCount;
    page.firstIndex = cliche + 1;
    ClicheRecord& record = config.cliches[cliche];
    page.field = [&record](int, int line) { return FieldOf(record.lines[line]); };
    page.singleReadLead = ReadFailureLead();
    page.lastLineWriteLead = WriteFailureLead();
    return page;
}

void ReadItem(const TransferPage& page, int item, PageView& view) {
    CheckMachineNumber();
    Progress& progress = CurrentProgress();
    UserDialogs& dialogs = Dialogs();
    Indicators indicators(progress);
    bool failed = false;
    // Single-item transfers tell the failure and end: no question, no later line.
    RunItemLoop(
        page.lines,
        [&](int line) -> std::optional<ItemResult> {
            if (failed) return std::nullopt;
            ClearBeforeRead(page, item, line, view);
            ItemResult result = ReadLine(page, item, line);
            if (result.ok()) return result;
            failed = true;
            dialogs.error(FailureMessage(page.singleReadLead, result.errorText));
            return std::nullopt;
        },
        LoopOptions(page.singleReadLead, page.lines), progress, dialogs);
    indicators.finish(&view);
    if (!failed) dialogs.warning(ReadDone());
}

void ReadItems(const TransferPage& page, PageView& view) {
    CheckMachineNumber();
    Progress& progress = CurrentProgress();
    UserDialogs& dialogs = Dialogs();
    Indicators indicators(progress);
    int failedItem = -1;
    const bool completed = RunItemLoop(
        page.items * page.lines,
        [&](int index) -> std::optional<ItemResult> {
            const int item = index / page.lines, line = index % page.lines;
            if (page.endAfterFailedItem && failedItem >= 0 && item != failedItem)
                return std::nullopt;
            ClearBeforeRead(page, item, line, view);
            ItemResult result = ReadLine(page, item, line);
            if (!result.ok() && failedItem < 0) failedItem = item;
            return result;
        },
        LoopOptions(ReadFailureLead(), page.items * page.lines), progress, dialogs);
    indicators.finish(&view);
    if (completed && failedItem < 0) dialogs.warning(ReadDone());
}

void WriteItem(const TransferPage& page, int item, PageView& view) {
    UserDialogs& dialogs = Dialogs();
    if (AccessDenied(page, item)) {
        dialogs.warning(QStringLiteral("Параметр недоступен для изменения..."));
        return;
    }
    if (page.passwordUsable && !page.passwordUsable(item)) {
        dialogs.warning(QStringLiteral("Пароль не может быть нулевым..."));
        return;
    }
    CheckMachineNumber();
    Progress& progress = CurrentProgress();
    Indicators indicators(progress);
    bool failed = false;
    RunItemLoop(
        page.lines,
        [&](int line) -> std::optional<ItemResult> {
            if (failed) return std::nullopt;
            ItemResult result = WriteLine(page, item, line, view);
            if (result.ok()) return result;
            failed = true;
            const QString lead =
                line == page.lines - 1 ? page.lastLineWriteLead : WriteFailureLead();
            dialogs.error(FailureMessage(lead, result.errorText));
            return std::nullopt;
        },
        LoopOptions(WriteFailureLead(), page.lines), progress, dialogs);
    indicators.finish(page.refillAfterWrite ? &view : nullptr);
    if (!failed) dialogs.warning(WriteDone());
}

void WriteItems(const TransferPage& page, PageView& view) {
    CheckMachineNumber();
    Progress& progress = CurrentProgress();
    UserDialogs& dialogs = Dialogs();
    Indicators indicators(progress);
    int failedItem = -1;
    bool skipItem = false;
    const bool completed = RunItemLoop(
        page.items * page.lines,
        [&](int index) -> std::optional<ItemResult> {
            const int item = index / page.lines, line = index % page.lines;
            if (page.endAfterFailedItem && failedItem >= 0 && item != failedItem)
                return std::nullopt;
            // Decided once per item: a refusal answered to its first line
            // does not stop its other lines.
            if (line == 0)
                skipItem =
                    AccessDenied(page, item) || (page.passwordUsable && !page.passwordUsable(item));
            if (skipItem) return std::nullopt;
            ItemResult result = WriteLine(page, item, line, view);
            if (!result.ok() && failedItem < 0) failedItem = item;
            return result;
        },
        LoopOptions(WriteFailureLead(), page.items * page.lines), progress, dialogs);
    indicators.finish(page.refillAfterWrite ? &view : nullptr);
    if (completed && failedItem < 0) dialogs.warning(WriteDone());
}

void ClearItems(const TransferPage& page, PageView& view) {
    for (int item = 0; item < page.items; ++item) {
        if (AccessDenied(page, item)) continue;
        ClearItem(page, item);
        view.clearCells(item, -1);
    }
}

void ReadDocumentName(DeviceConfiguration& config, const std::function<void()>& clear,
                      const std::function<void()>& refill) {
    CheckMachineNumber();
    Progress& progress = CurrentProgress();
    UserDialogs& dialogs = Dialogs();
    if (clear) clear();
    progress.setBusyCursor(true);
    ItemResult result;
    try {
        result = ReadParameterText(GroupDocumentName, 1, 1, config.documentName);
    } catch (...) {
        progress.setBusyCursor(false);
        throw;
    }
    if (result.ok() && refill) refill();
    progress.setBusyCursor(false);
    if (result.ok())
        dialogs.warning(ReadDone());
    else
        dialogs.error(FailureMessage(ReadFailureLead(), result.errorText));
}

void WriteDocumentName(const DeviceConfiguration& config) {
    CheckMachineNumber();
    Progress& progress = CurrentProgress();
    progress.setBusyCursor(true);
    ItemResult result;
    try {
        result = WriteParameterText(GroupDocumentName, 1, 1, config.documentName);
    } catch (...) {
        progress.setBusyCursor(false);
        throw;
    }
    progress.setBusyCursor(false);
    if (result.ok())
        Dialogs().warning(WriteDone());
    else
        Dialogs().error(FailureMessage(WriteFailureLead(), result.errorText));
}
