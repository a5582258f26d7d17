#pragma once

// What the wizard's list pages (operators, services, additional requisites,
// clichés) do with the device, written once and configured per page: which
// parameters an item has, where they live in the configuration, which answer
// bytes are kept as the item's access, and how a failure ends the transfer.
// The pages only show the result through PageView.

#include <QString>
#include <cstdint>
#include <functional>

struct DeviceConfiguration;

// One stored field of the configuration: a device line or a password.
struct TextField {
    char* bytes = nullptr;
    int size = 0;
};

// The page's grid as the transfers see it.
class PageView {
public:
    virtual ~PageView() = default;
    // Empties the cell of one line of an item; line −1: every text cell of the item.
    virtual void clearCells(int item, int line) = 0;
    // Shows the configuration again (the page's Fill).
    virtual void refill() = 0;
    // Shows the item's access byte ("да"/"нет").
    virtual void showAccess(int item) = 0;
};

struct TransferPage {
    uint8_t group = 0;
    int items = 8;
    int lines = 3;
    int firstIndex = 1;                                  // device index of item 0
    std::function<TextField(int item, int line)> field;  // item and line 0-based
    // The item's access byte; empty when the page's items have none.
    std::function<uint8_t*(int item)> access;
    // The answer's record flag is kept from every line, or from the first only.
    bool recordFlagOnEveryLine = true;
    // All-item transfers end after the item in which a failure occurred, whatever
    // the answer; otherwise only No ends them.
    bool endAfterFailedItem = false;
    // Writing ends with a refill of the page; otherwise only the access is shown.
    bool refillAfterWrite = true;
    // Items whose password is unusable are refused (single) or skipped (all);
    // empty when the page's items have no password.
    std::function<bool(int item)> passwordUsable;
    // Lead of the failure message of a single-item read.
    QString singleReadLead;
    // Lead of the failure message of a single-item write of the last line.
    QString lastLineWriteLead;
};

QString ReadFailureLead();   // "Не удалось прочитать параметр... "
QString WriteFailureLead();  // "Не удалось записать параметр... "

TransferPage OperatorsTransfer(DeviceConfiguration& config);
// The services (group 2) or the additional requisites (group 3).
TransferPage ThreeLineTransfer(DeviceConfiguration& config, uint8_t group);
// The eight lines of cliché 0 or 1, as one item.
TransferPage ClicheTransfer(DeviceConfiguration& config, int cliche);

// "Выгрузить из АС" / "Загрузить в АС" for one item (0-based) or all of them,
// with their messages, progress and busy cursor. A factory number that does
// not convert throws ConversionError before anything is cleared or sent.
// A read asks first when the lines it would replace hold work the device does
// not ("Изменения не записаны в АС: ...", "Нет" by default).
void ReadItem(const TransferPage& page, int item, PageView& view);
void ReadItems(const TransferPage& page, PageView& view);
void WriteItem(const TransferPage& page, int item, PageView& view);
void WriteItems(const TransferPage& page, PageView& view);

// "Очистить поля": after a question ("Нет" by default), empties every item the
// device lets be changed.
void ClearItems(const TransferPage& page, PageView& view);
QString ClearPageQuestion();

// The document name, one parameter without access or progress. Reading
// replaces the stored name and calls `refill` only after a good read; a failed
// one leaves the name, stored and shown, as it was. A name not yet written is
// replaced only after the question.
void ReadDocumentName(DeviceConfiguration& config, const std::function<void()>& refill);
void WriteDocumentName(const DeviceConfiguration& config);
