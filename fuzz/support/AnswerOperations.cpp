#include "support/AnswerOperations.h"

#include <cstring>

#include "admin/StateDecoding.h"
#include "config/DeviceConfiguration.h"
#include "config/ParameterIO.h"
#include "device/DeviceCharset.h"
#include "device/Protocol.h"
#include "forms/FormPreview.h"
#include "forms/FormTransfer.h"
#include "goods/GoodsTransfer.h"
#include "goods/Price.h"
#include "support/FuzzCheck.h"

namespace {

void CheckOutcome(const ItemResult& result) {
    switch (result.status) {
        case StatusOk:
            FUZZ_CHECK(result.errorText.isEmpty());
            break;
        case StatusNoAnswer:
        case StatusBadHeader:
        case StatusCodeMismatch:
        case StatusDeviceError:
        case StatusOutOfStep:
            FUZZ_CHECK(!result.errorText.isEmpty() && result.errorText.size() < ErrorTextSize);
            break;
        default:
            FUZZ_CHECK(!"unknown command status");
    }
}

// A field of `size` bytes read from the device keeps its terminator; one
// whose read failed keeps what it held (all 'x'), so that nothing the device
// did not send is taken for its value.
void CheckFieldRead(const ItemResult& result, const char* field, int size) {
    if (result.ok()) {
        FUZZ_CHECK(strnlen(field, std::size_t(size)) < std::size_t(size));
        return;
    }
    for (int i = 0; i < size; ++i) FUZZ_CHECK(field[i] == 'x');
}

void ParameterRead() {
    DeviceText text;
    std::memset(text.bytes, 'x', sizeof text.bytes);
    uint8_t access = 0;
    const ItemResult result = ReadParameterText(0, 1, 1, text, &access);
    CheckOutcome(result);
    CheckFieldRead(result, text.bytes, int(sizeof text.bytes));
}

void PasswordRead() {
    char password[5];
    std::memset(password, 'x', sizeof password);
    const ItemResult result = ReadParameterText(0, 1, 3, password, int(sizeof password));
    CheckOutcome(result);
    CheckFieldRead(result, password, int(sizeof password));
}

void ParameterWrite() {
    DeviceText text{};
    CopyToField(text.bytes, int(sizeof text.bytes), "1\xCA\xC2\xC8\xD2\xC0\xCD\xD6\xC8\xDF 12");
    uint8_t access = 1;
    CheckOutcome(WriteParameterText(4, 1, 1, text, &access));
}

void FormRead(DeviceConfiguration& config) {
    for (int n = 1; n <= FormCount; ++n) config.forms[n - 1] = FormSlot{1, 3, 2, 1};
    CheckOutcome(ReadForm(config, 5, FormStatusUpdate::FromAnswer));
    // Whatever the device said the form holds, its preview can be shown.
    FUZZ_CHECK(!FormPreviewLines(config, 5).isEmpty());
}

void FormWrite(DeviceConfiguration& config) {
    config.forms[2] = FormSlot{1, 6, 8, 3};
    CheckOutcome(ProgramForm(config, 3));
}

void InnWrite() {
    uint8_t deviceError = 0;
    CheckOutcome(RunCommand([&](char* errorText) {
        return InnCommand(54321, 24, 12, 31, 2, "123456789012", deviceError, errorText);
    }));
}

void GoodsRead() {
    GoodsDeviceRecord record;
    const ItemResult result = ReadGoodsRecord(1000, record);
    CheckOutcome(result);
    // A failed goods read is dropped whole by its callers, whatever it left.
    if (!result.ok()) return;
    FUZZ_CHECK(strnlen(record.barcode, sizeof record.barcode) < sizeof record.barcode);
    // The row the table gets goes back to the device with the same numbers.
    const GoodsRecord row = RecordOfDevice(1000, record);
    const GoodsDeviceRecord back = DeviceRecordOf(row);
    FUZZ_CHECK(back.price == record.price);
    FUZZ_CHECK(back.section == record.section);
    FUZZ_CHECK(std::strcmp(back.barcode, record.barcode) == 0);
    FUZZ_CHECK(parsePrice(row.price) == record.price);
}

void GoodsWrite() {
    GoodsDeviceRecord record;
    std::memcpy(record.name, "0abwg 123", 10);
    std::memcpy(record.barcode, "281474976710655", 16);
    record.section = 255;
    record.price = 99'999'999'900;
    CheckOutcome(WriteGoodsRecord(17, record));
}

void StateRead() {
    const StateQuery query = QueryDeviceState();
    CheckOutcome(ItemResult{query.status, query.errorText});
    const StateTexts texts = DecodeState(query.answer);
    FUZZ_CHECK(!texts.time.isEmpty() && !texts.date.isEmpty());
    FUZZ_CHECK(!texts.factoryNumber.isEmpty() && !texts.taxpayerNumber.isEmpty());
}

}  // namespace

void RunAnswerOperation(int choice) {
    DeviceConfiguration config{};
    switch (choice % AnswerOperationCount) {
        case 0:
            ParameterRead();
            break;
        case 1:
            PasswordRead();
            break;
        case 2:
            ParameterWrite();
            break;
        case 3:
            FormRead(config);
            break;
        case 4:
            FormWrite(config);
            break;
        case 5:
            InnWrite();
            break;
        case 6:
            GoodsRead();
            break;
        case 7:
            GoodsWrite();
            break;
        default:
            StateRead();
            break;
    }
}
