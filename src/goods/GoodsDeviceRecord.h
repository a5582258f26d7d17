#pragma once

// The goods record in the form the device's goods command takes and gives,
// and the conversions between it and a table row. Both the transfer and the
// page's knowledge of the device's copy work on it.

#include <QByteArray>
#include <cstdint>

#include "device/Protocol.h"
#include "goods/GoodsRecord.h"

// A record in the form the goods command takes and gives.
struct GoodsDeviceRecord {
    char name[GoodsNameFieldSize + 1] = {};  // flag and name, device character set
    char barcode[BarcodeTextSize] = {};      // decimal text; empty sends a zero record
    uint8_t section = 0;
    int64_t price = 0;
};

// The device record of a table row: flag '1' only for "широкий", the name
// encoded behind it, the barcode text unchanged, the section's low 8 bits and
// the parsed price.
GoodsDeviceRecord DeviceRecordOf(const GoodsRecord& row);
// The table row of device record `number` as read.
GoodsRecord RecordOfDevice(int number, const GoodsDeviceRecord& record);
