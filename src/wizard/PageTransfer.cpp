#include "wizard/PageTransfer.h"

#include <cstring>
#include <optional>

#include "config/ConfigurationDiff.h"
#include "config/ConfigurationSync.h"
#include "config/DeviceConfiguration.h"
#include "config/ParameterCatalogue.h"
#include "config/ParameterIO.h"
#include "device/PortSettings.h"
#include "device/Protocol.h"
#include "shell/ItemLoop.h"
#include "shell/Progress.h"
#include "shell/UnsentWork.h"
#include "shell/UserDialogs.h"
#include "wizard/DeviceLine.h"

namespace {

QString ReadDone() {
    return QStringLiteral("Прочитано удачно...");
}
QString WriteDone() {
    return QStringLiteral("Записано удачно...");
}

// A factory number that does not convert stops the action before the first
// command, not half-way through it.
void CheckMachineNumber() {
    (void)MachineNumberValue(CurrentPortSettings().MachineNumber);
}

// The hourglass, taken down on release or, when a command throws, on the way out.
class BusyCursor {
public:
    explicit BusyCursor(Progress& progress) : progress_(progress) { progress_.setBusyCursor(true); }
    ~BusyCursor() { release(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
    void release() {
        if (!busy_) return;
        busy_ = false;
        progress_.setBusyCursor(false);
    }

private:
    Progress& progress_;
    bool busy_ = true;
};

// The hourglass and the progress bar of one transfer. They come down before
// the final message, and also when a command throws.
class Indicators {
public:
    explicit Indicators(Progress& progress) : progress_(progress), busy_(progress) {
        progress_.begin();
    }
    ~Indicators() {
        if (!finished_) progress_.end();
    }
    // Progress bar down, the page shown again (when asked), normal pointer.
    void finish(PageView* refillView) {
        finished_ = true;
        progress_.end();
        if (refillView) refillView->refill();
        busy_.release();
    }

private:
    Progress& progress_;
    BusyCursor busy_;
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

namespace {

// Asks before a read would replace lines of `item` (every item: −1) that hold
// work the device does not; true when nothing is unsent or the user agreed.
bool MayReadOverUnsent(const TransferPage& page, int item) {
    QVector<ConfigurationItem> unsent;
    const int first = item < 0 ? 0 : item;
    const int last = item < 0 ? page.items - 1 : item;
    for (int i = first; i <= last; ++i) {
        for (int line = 0; line < page.lines; ++line) {
            const TextField field = page.field(i, line);
            const uint8_t index = uint8_t(page.firstIndex + i);
            ConfigurationItem named;
            if (ProgramConfigurationSync().isUnsent(page.group, index, uint8_t(line + 1),
                                                    field.bytes, field.size) &&
                ConfigurationItemOfParameter(page.group, index, uint8_t(line + 1), named))
                unsent.append(named);
        }
    }
    return ConfirmOverUnsentWork(Dialogs(), {NamedConfigurationItems(unsent)},
                                 StepReadFromDevice());
}

// One direction of a list page's transfer: what a line's command is, and how
// the transfer tells its failures and its end.
struct Direction {
    // The line's command, with what has to happen just before it.
    std::function<ItemResult(int item, int line)> command;
    // An all-item transfer passes over these items without a word.
    std::function<bool(int item)> skip;
    // The lead of the question after a failure in an all-item transfer.
    QString questionLead;
    // The lead of the message after a single-item transfer failed on `line`.
    std::function<QString(int line)> singleLead;
    bool refill = true;
    QString done;
    OutcomeWords words;
};

// A line of a page as a failure names it: "услуга 5, строка 2".
QString LineName(const TransferPage& page, int item, int line) {
    QString record;
    switch (page.group) {
        case GroupOperator:
            record = QStringLiteral("оператор");
            break;
        case GroupService:
            record = QStringLiteral("услуга");
            break;
        case GroupRequisite:
            record = QStringLiteral("реквизит");
            break;
        default:
            record = QStringLiteral("клише");
            break;
    }
    return QStringLiteral("%1 %2, строка %3").arg(record).arg(page.firstIndex + item).arg(line + 1);
}

// Why the device is not asked to take an item, or nothing when it may be.
QString WriteRefusal(const TransferPage& page, int item) {
    if (AccessDenied(page, item)) return QStringLiteral("Параметр недоступен для изменения...");
    if (page.passwordUsable && !page.passwordUsable(item))
        return QStringLiteral("Пароль не может быть нулевым...");
    return {};
}

Direction Reading(const TransferPage& page) {
    Direction d;
    // A line whose read fails keeps what the program held; the refill at
    // the end shows every line as the configuration now has it.
    d.command = [&page](int item, int line) { return ReadLine(page, item, line); };
    d.questionLead = ReadFailureLead();
    d.singleLead = [&page](int) { return page.singleReadLead; };
    d.done = ReadDone();
    d.words = ReadWords();
    return d;
}

Direction Writing(const TransferPage& page, PageView& view) {
    Direction d;
    d.command = [&page, &view](int item, int line) { return WriteLine(page, item, line, view); };
    // Decided once per item, before its first line: a refusal answered to
    // that line does not stop the item's other lines.
    d.skip = [&page](int item) { return !WriteRefusal(page, item).isEmpty(); };
    d.questionLead = WriteFailureLead();
    d.singleLead = [&page](int line) {
        return line == page.lines - 1 ? page.lastLineWriteLead : WriteFailureLead();
    };
    d.refill = page.refillAfterWrite;
    d.done = WriteDone();
    d.words = WrittenWords();
    return d;
}

// One item: the first failure is told and ends the transfer, without a
// question and without the item's later lines.
void TransferOne(const TransferPage& page, int item, PageView& view, const Direction& d) {
    CheckMachineNumber();
    Progress& progress = CurrentProgress();
    UserDialogs& dialogs = Dialogs();
    Indicators indicators(progress);
    bool failed = false;
    RunItemLoop(
        page.lines,
        [&](int line) -> std::optional<ItemResult> {
            if (failed) return std::nullopt;
            ItemResult result = d.command(item, line);
            if (result.ok()) return result;
            failed = true;
            dialogs.error(FailureMessage(d.singleLead(line), result.errorText));
            return std::nullopt;
        },
        LoopOptions(d.questionLead, page.lines), progress, dialogs);
    indicators.finish(d.refill ? &view : nullptr);
    if (!failed) dialogs.success(d.done);
}

// Every item: a failure asks whether to go on; the success message only
// when nothing failed.
void TransferAll(const TransferPage& page, PageView& view, const Direction& d) {
    CheckMachineNumber();
    Progress& progress = CurrentProgress();
    UserDialogs& dialogs = Dialogs();
    Indicators indicators(progress);
    const int total = page.items * page.lines;
    int failedItem = -1;
    bool skipItem = false;
    TransferOutcome outcome;
    ItemLoopOptions options = LoopOptions(d.questionLead, total);
    options.outcome = &outcome;
    options.itemName = [&page](int index) {
        return LineName(page, index / page.lines, index % page.lines);
    };
    RunItemLoop(
        total,
        [&](int index) -> std::optional<ItemResult> {
            const int item = index / page.lines, line = index % page.lines;
            if (page.endAfterFailedItem && failedItem >= 0 && item != failedItem)
                return std::nullopt;
            if (line == 0) skipItem = d.skip && d.skip(item);
            if (skipItem) return std::nullopt;
            ItemResult result = d.command(item, line);
            if (!result.ok() && failedItem < 0) failedItem = item;
            return result;
        },
        options, progress, dialogs);
    indicators.finish(d.refill ? &view : nullptr);
    // Items after the failed one were passed over: the transfer ended there.
    if (page.endAfterFailedItem && failedItem >= 0 && failedItem < page.items - 1)
        outcome.stopped = true;
    ReportOutcome(outcome, d.done, d.words, dialogs);
}

// The outcome of a single command: the failure with the device's words, or
// the success message.
void Report(const ItemResult& result, const QString& lead, const QString& done) {
    if (result.ok())
        Dialogs().success(done);
    else
        Dialogs().error(FailureMessage(lead, result.errorText));
}

}  // namespace

void ReadItem(const TransferPage& page, int item, PageView& view) {
    if (!MayReadOverUnsent(page, item)) return;
    TransferOne(page, item, view, Reading(page));
}

void ReadItems(const TransferPage& page, PageView& view) {
    if (!MayReadOverUnsent(page, -1)) return;
    TransferAll(page, view, Reading(page));
}

void WriteItem(const TransferPage& page, int item, PageView& view) {
    const QString refusal = WriteRefusal(page, item);
    if (!refusal.isEmpty()) {
        Dialogs().warning(refusal);
        return;
    }
    TransferOne(page, item, view, Writing(page, view));
}

void WriteItems(const TransferPage& page, PageView& view) {
    TransferAll(page, view, Writing(page, view));
}

QString ClearPageQuestion() {
    return QStringLiteral("Очистить все поля страницы?");
}

void ClearItems(const TransferPage& page, PageView& view) {
    if (!Dialogs().confirmDefaultNo(ClearPageQuestion())) return;
    for (int item = 0; item < page.items; ++item) {
        if (AccessDenied(page, item)) continue;
        ClearItem(page, item);
        view.clearCells(item, -1);
    }
}

void ReadDocumentName(DeviceConfiguration& config, const std::function<void()>& refill) {
    CheckMachineNumber();
    const QString unsent = ProgramConfigurationSync().unsentText(
        config, {ConfigurationItem{ConfigurationItemKind::DocumentName, 1, 1}});
    if (!ConfirmOverUnsentWork(Dialogs(), {unsent}, StepReadFromDevice())) return;
    BusyCursor busy(CurrentProgress());
    const ItemResult result = ReadParameterText(GroupDocumentName, 1, 1, config.documentName);
    if (result.ok() && refill) refill();
    busy.release();
    Report(result, ReadFailureLead(), ReadDone());
}

void WriteDocumentName(const DeviceConfiguration& config) {
    CheckMachineNumber();
    BusyCursor busy(CurrentProgress());
    const ItemResult result = WriteParameterText(GroupDocumentName, 1, 1, config.documentName);
    busy.release();
    Report(result, WriteFailureLead(), WriteDone());
}
