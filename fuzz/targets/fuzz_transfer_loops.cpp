// The device operations of several exchanges (support/TransferOperations.h)
// against any run of answers and user replies. Input: the operation, after
// how many items the user presses "Прервать" (255: never), then, in the order
// the operation needs them, the answers (a length byte and that many bytes;
// 0 is a silent device) and the replies to its questions (one byte, odd:
// Yes). Once the input is used up the device is silent and every reply is No.
//
// Beyond the sanitizers it checks that every request is a sound frame, that
// every operation ends with no indicator left up, that the configuration's
// texts keep their terminators, and that the goods table holds only rows the
// program could have made, and that a read of all goods leaves the rows it
// did not reach as they were.

#include "config/DeviceConfiguration.h"
#include "device/Protocol.h"
#include "goods/GoodsTable.h"
#include "support/FuzzCheck.h"
#include "support/FuzzInput.h"
#include "support/IndicatorProgress.h"
#include "support/InputDialogs.h"
#include "support/InputLink.h"
#include "support/SampleData.h"
#include "support/TransferOperations.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const uint8_t operation = input.byte();
    const uint8_t stopAfter = input.byte(0xFF);
    InputLink link([&] { return input.chunk(); });
    InputDialogs dialogs(input);
    IndicatorProgress progress(stopAfter == 0xFF ? -1 : stopAfter);

    // Made once: the editors' conversions behind them cost more than most runs.
    static const DeviceConfiguration sampleConfig = [] {
        DeviceConfiguration c;
        FillSampleConfiguration(c);
        return c;
    }();
    static const QVector<GoodsRecord> sampleGoods = [] {
        GoodsTable t;
        FillSampleGoods(t, 40);
        return t.records();
    }();
    static DeviceConfiguration config;
    config = sampleConfig;
    // The same rows for every input, and nothing known of the device, so that
    // an input runs alike whatever ran before it. Only the goods operations
    // touch the table, and going over its 1001 rows costs more than most runs.
    static GoodsTable table;
    if (IsGoodsOperation(operation)) {
        for (int row = 1; row <= GoodsRecordCount; ++row) {
            if (table.record(row) != sampleGoods[row - 1])
                table.setRecord(row, sampleGoods[row - 1]);
        }
        table.forgetDevice();
    }

    // Nor does a line that failed in an earlier input put a marker first.
    ForgetLineStates();
    RunTransferOperation(operation, config, table, progress, dialogs);
    progress.checkAllDown();
    CheckConfiguration(config);
    if (IsGoodsOperation(operation)) CheckGoodsTable(table);
    // However a read of all goods ends, the rows it did not reach are as they were.
    if ((operation & 0x0F) == ReadAllGoodsKind) {
        for (int row = link.exchanges() + 1; row <= GoodsRecordCount; ++row)
            FUZZ_CHECK(table.record(row) == sampleGoods[row - 1]);
    }
    return 0;
}
