#include "goods/GoodsTransfer.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "device/DeviceCharset.h"
#include "goods/GoodsTable.h"
#include "goods/Price.h"
#include "shell/ItemLoop.h"
#include "shell/Progress.h"
#include "shell/UserDialogs.h"

namespace {

const QString ReadLead = QStringLiteral("Не удалось прочитать параметр... ");
const QString WriteLead = QStringLiteral("Не удалось записать параметр... ");
const QString EraseLead = QStringLiteral("Не удалось стереть запись... ");
const QString ReadWait = QStringLiteral("Выгрузка товаров...");
const QString WriteWait = QStringLiteral("Загрузка товаров...");

// The hourglass for a single-record command, taken down also when the command
// throws.
class BusyCursor {
public:
    explicit BusyCursor(Progress& progress) : progress_(progress) { progress_.setBusyCursor(true); }
    ~BusyCursor() { release(); }
    void release() {
        if (busy_) progress_.setBusyCursor(false);
        busy_ = false;
    }

private:
    Progress& progress_;
    bool busy_ = true;
};

// The wait window of an all-records operation, with one repaint before the
// first exchange; closed however the loop ends.
class ShownWaitWindow {
public:
    ShownWaitWindow(Progress& progress, const QString& text) : progress_(progress) {
        progress_.showWait(text);
        progress_.processEvents();
    }
    ~ShownWaitWindow() { progress_.hideWait(); }

private:
    Progress& progress_;
};

// A goods record as a failure names it: "товар 517".
QString GoodsItemName(int number) {
    return QStringLiteral("товар %1").arg(number);
}

ItemLoopOptions AllRecords(TransferOutcome& outcome, const QString& lead,
                           int total = GoodsRecordCount) {
    ItemLoopOptions options;
    options.outcome = &outcome;
    options.failureLead = lead;
    options.progressTotal = total;
    // Item i is record i, whose number is also the "Код товара" of its row.
    options.itemName = GoodsItemName;
    return options;
}

// Item i of a loop over some table rows is the record of rows[i].
ItemLoopOptions RowsOf(const QVector<int>& rows, ItemLoopOptions options) {
    options.itemName = [&rows](int index) { return GoodsItemName(rows[index] - 1); };
    return options;
}

// Writes the given table rows in their order, each marked in step or failed.
bool WriteGoodsRows(GoodsTable& table, const QVector<int>& rows, Progress& progress,
                    UserDialogs& dialogs) {
    bool completed = false;
    TransferOutcome outcome;
    {
        ShownWaitWindow wait(progress, WriteWait);
        completed = RunItemLoop(
            int(rows.size()),
            [&](int index) -> std::optional<ItemResult> {
                const int row = rows[index];
                const ItemResult result =
                    WriteGoodsRecord(row - 1, DeviceRecordOf(table.record(row)));
                if (result.ok())
                    table.markInStep(row);
                else
                    table.markWriteFailed(row);
                return result;
            },
            RowsOf(rows, AllRecords(outcome, WriteLead, int(rows.size()))), progress, dialogs);
    }
    ReportOutcome(outcome, QStringLiteral("Записано удачно..."), WrittenWords(), dialogs);
    return completed;
}

// A read that failed leaves the row as it was. A row holding nothing unsent is
// marked unread, so that the page shows it was not read and "Загрузить
// изменённые" does not send it on the failed read's account; a row with unsent
// changes stays changed: the failure is no reason to hold the user's work back.
void ReadFailed(GoodsTable& table, int row) {
    if (!table.isChanged(row)) table.markReadFailed(row);
}

}  // namespace

ItemResult ReadGoodsRecord(int number, GoodsDeviceRecord& record) {
    return RunCommand([&](char* errorText) {
        uint8_t deviceError = 0;
        return GoodsCommand(ModeRead, uint16_t(number), record.name, record.barcode, record.section,
                            record.price, deviceError, errorText);
    });
}

ItemResult WriteGoodsRecord(int number, const GoodsDeviceRecord& record) {
    // The command takes in/out buffers; a write leaves them as they are.
    GoodsDeviceRecord copy = record;
    return RunCommand([&](char* errorText) {
        uint8_t deviceError = 0;
        return GoodsCommand(ModeWrite, uint16_t(number), copy.name, copy.barcode, copy.section,
                            copy.price, deviceError, errorText);
    });
}

bool ReadCurrentGoods(GoodsTable& table, int row, Progress& progress, UserDialogs& dialogs) {
    // A factory number that does not convert stops the read before it starts.
    MachineNumberValue(CurrentPortSettings().MachineNumber);
    BusyCursor busy(progress);
    GoodsDeviceRecord record;
    const ItemResult result = ReadGoodsRecord(row - 1, record);
    if (!result.ok()) {
        ReadFailed(table, row);
        busy.release();
        dialogs.error(FailureMessage(ReadLead, result.errorText));
        return false;
    }
    table.setRecord(row, RecordOfDevice(row - 1, record));
    table.markInStep(row);
    busy.release();
    dialogs.success(QStringLiteral("Прочитано удачно..."));
    return true;
}

bool ReadAllGoods(GoodsTable& table, Progress& progress, UserDialogs& dialogs) {
    bool completed = false;
    TransferOutcome outcome;
    {
        ShownWaitWindow wait(progress, ReadWait);
        completed = RunItemLoop(
            GoodsRecordCount,
            [&](int number) -> std::optional<ItemResult> {
                const int row = number + 1;
                GoodsDeviceRecord record;
                const ItemResult result = ReadGoodsRecord(number, record);
                if (result.ok()) {
                    table.setRecord(row, RecordOfDevice(number, record));
                    table.markInStep(row);
                } else {
                    ReadFailed(table, row);
                }
                return result;
            },
            AllRecords(outcome, ReadLead), progress, dialogs);
    }
    ReportOutcome(outcome, QStringLiteral("Прочитано удачно..."), ReadWords(), dialogs);
    return completed;
}

bool WriteCurrentGoods(GoodsTable& table, int row, Progress& progress, UserDialogs& dialogs) {
    BusyCursor busy(progress);
    const ItemResult result = WriteGoodsRecord(row - 1, DeviceRecordOf(table.record(row)));
    busy.release();
    if (!result.ok()) {
        table.markWriteFailed(row);
        dialogs.error(FailureMessage(WriteLead, result.errorText));
        return false;
    }
    table.markInStep(row);
    dialogs.success(QStringLiteral("Записано удачно..."));
    return true;
}

bool WriteAllGoods(GoodsTable& table, Progress& progress, UserDialogs& dialogs) {
    QVector<int> rows(GoodsRecordCount);
    for (int i = 0; i < GoodsRecordCount; ++i) rows[i] = i + 1;
    return WriteGoodsRows(table, rows, progress, dialogs);
}

QString EmptyGoodsWriteQuestion() {
    return QStringLiteral(
               "В таблице нет ни одного товара: все %1 записей базы товаров в АС "
               "будут стерты.\nВы действительно хотите загрузить пустую таблицу в АС?")
        .arg(GoodsRecordCount);
}

bool ConfirmWholeGoodsWrite(const GoodsTable& table, UserDialogs& dialogs) {
    const QVector<GoodsRecord>& records = table.records();
    if (std::any_of(records.cbegin(), records.cend(),
                    [](const GoodsRecord& record) { return record.hasGoods(); }))
        return true;
    return dialogs.confirmDefaultNo(EmptyGoodsWriteQuestion());
}

QString NothingChangedMessage() {
    return QStringLiteral("Изменённых записей нет, в АС ничего не отправлено...");
}

QString BlankRowsNotSentMessage(int count) {
    return QStringLiteral(
               "Пустые строки, в которых были товары (%1), в АС не отправляются: что АС хранит "
               "в этих записях, неизвестно. Чтобы удалить эти товары из АС, выгрузите базу из АС "
               "и очистите их строки или загрузите в АС всю базу.")
        .arg(count);
}

bool WriteChangedGoods(GoodsTable& table, Progress& progress, UserDialogs& dialogs) {
    // A product deleted from a row is sent only when the device's copy is
    // known; otherwise the blank could erase a record the user never saw.
    if (const int blank = table.unsentBlankCount(); blank > 0)
        dialogs.warning(BlankRowsNotSentMessage(blank));
    const QVector<int> rows = table.changedRows();
    if (rows.isEmpty()) {
        dialogs.warning(NothingChangedMessage());
        return false;
    }
    return WriteGoodsRows(table, rows, progress, dialogs);
}

bool EraseDeviceGoods(GoodsTable& table, Progress& progress, UserDialogs& dialogs) {
    if (!dialogs.confirmDefaultNo(QStringLiteral("Вы действительно хотите удалить базу из АС?")))
        return false;
    // Narrow flag, no name, empty barcode: the command sends a zero record.
    GoodsDeviceRecord zero;
    zero.name[0] = NarrowFlag;
    bool completed = false;
    TransferOutcome outcome;
    {
        ShownWaitWindow wait(progress, WriteWait);
        completed = RunItemLoop(
            GoodsRecordCount,
            [&](int number) -> std::optional<ItemResult> {
                const ItemResult result = WriteGoodsRecord(number, zero);
                if (result.ok())
                    table.markErased(number + 1);
                else
                    table.markWriteFailed(number + 1);
                return result;
            },
            AllRecords(outcome, EraseLead), progress, dialogs);
    }
    ReportOutcome(outcome, QStringLiteral("База очищена..."), ErasedWords(), dialogs);
    return completed;
}
