#include "support/TransferOperations.h"

#include <cstring>

#include "admin/InnProgramming.h"
#include "config/ConfigurationTransfer.h"
#include "config/DeviceConfiguration.h"
#include "forms/FormTableTransfer.h"
#include "goods/GoodsFile.h"
#include "goods/GoodsTable.h"
#include "goods/GoodsTransfer.h"
#include "goods/Price.h"
#include "support/FuzzCheck.h"
#include "wizard/PageTransfer.h"

namespace {

class CheckedPageView : public PageView {
public:
    explicit CheckedPageView(const TransferPage& page) : page_(page) {}
    void clearCells(int item, int line) override {
        FUZZ_CHECK(item >= 0 && item < page_.items);
        FUZZ_CHECK(line >= -1 && line < page_.lines);
    }
    void refill() override {}
    void showAccess(int item) override { FUZZ_CHECK(item >= 0 && item < page_.items); }

private:
    const TransferPage& page_;
};

class CheckedPages : public ConfigurationPages {
public:
    void refreshOperators() override {}
    void refreshDocumentName() override {}
    void refreshServices() override {}
    void refreshRequisites() override {}
    void refreshCliche(int clicheIndex) override {
        FUZZ_CHECK(clicheIndex >= 0 && clicheIndex < ClicheCount);
    }
};

void CheckTerminated(const DeviceText& text) {
    FUZZ_CHECK(text.bytes[sizeof text.bytes - 1] == 0);
}

}  // namespace

void CheckConfiguration(const DeviceConfiguration& config) {
    for (const OperatorRecord& op : config.operators) {
        CheckTerminated(op.position);
        CheckTerminated(op.name);
        FUZZ_CHECK(op.password[sizeof op.password - 1] == 0);
    }
    CheckTerminated(config.documentName);
    for (const ThreeLineRecord& record : config.services)
        for (const DeviceText& line : record.lines) CheckTerminated(line);
    for (const ThreeLineRecord& record : config.requisites)
        for (const DeviceText& line : record.lines) CheckTerminated(line);
    for (const ClicheRecord& cliche : config.cliches)
        for (const DeviceText& line : cliche.lines) CheckTerminated(line);
}

void CheckGoodsTable(const GoodsTable& table) {
    for (const GoodsRecord& row : table.records()) {
        FUZZ_CHECK(row.name.size() <= GoodsNameLength);
        FUZZ_CHECK(row.font.isEmpty() || row.font == WideFontText() ||
                   row.font == NarrowFontText());
        int64_t value = 0;
        FUZZ_CHECK(row.barcode.isEmpty() || CellNumber(row.barcode, MaxGoodsBarcode, value));
        FUZZ_CHECK(row.section.isEmpty() || CellNumber(row.section, 255, value));
        FUZZ_CHECK(parsePrice(row.price).has_value());
    }
    // Whatever was read can be saved, or is refused with the price message.
    QByteArray bytes;
    const GoodsFileStatus saved = EncodeGoodsFile(table, bytes).status;
    FUZZ_CHECK(saved == GoodsFileStatus::Ok || saved == GoodsFileStatus::PriceTooLarge);
}

namespace {

void ListPage(uint8_t operation, DeviceConfiguration& config) {
    TransferPage page;
    switch (operation % 4) {
        case 0:
            page = OperatorsTransfer(config);
            break;
        case 1:
            page = ThreeLineTransfer(config, 2);
            break;
        case 2:
            page = ThreeLineTransfer(config, 3);
            break;
        default:
            page = ClicheTransfer(config, (operation / 4) % 2);
            break;
    }
    CheckedPageView view(page);
    const int item = (operation / 8) % page.items;
    switch ((operation / 16) % 4) {
        case 0:
            ReadItems(page, view);
            break;
        case 1:
            WriteItems(page, view);
            break;
        case 2:
            ReadItem(page, item, view);
            break;
        default:
            WriteItem(page, item, view);
            break;
    }
}

void Inn(UserDialogs& dialogs) {
    InnInput input;
    input.taxpayerNumber = QStringLiteral("7701234567");
    input.password = QStringLiteral("12345");
    input.date = QDate(2024, 2, 29);
    input.groupIndex = 1;
    ProgramInn(input, dialogs);
}

}  // namespace

bool IsGoodsOperation(uint8_t operation) {
    const int kind = operation & 0x0F;
    return (kind >= 3 && kind <= 7) || kind == 15;
}

void RunTransferOperation(uint8_t operation, DeviceConfiguration& config, GoodsTable& table,
                          Progress& progress, UserDialogs& dialogs) {
    const uint8_t kind = operation & 0x0F;
    const uint8_t variant = operation >> 4;
    CheckedPages pages;
    switch (kind) {
        case 0:
            DownloadConfiguration(config, variant % 2 ? &pages : nullptr);
            break;
        case 1:
            UploadConfiguration(config);
            break;
        case 2:
            ReadFormTable(config);
            break;
        case ReadAllGoodsKind:
            ReadAllGoods(table, progress, dialogs);
            break;
        case 4:
            WriteAllGoods(table, progress, dialogs);
            break;
        case 5:
            EraseDeviceGoods(table, progress, dialogs);
            break;
        case 6:
            ReadCurrentGoods(table, 1 + variant * 66, progress, dialogs);
            break;
        case 7:
            WriteCurrentGoods(table, 1 + variant * 66, progress, dialogs);
            break;
        case 8:
            ReadDocumentName(config, [] {});
            break;
        case 9:
            WriteDocumentName(config);
            break;
        case 10:
            Inn(dialogs);
            break;
        case 15:
            WriteChangedGoods(table, progress, dialogs);
            break;
        default:
            ListPage(uint8_t(variant * 4 + (kind - 11)), config);
            break;
    }
}
