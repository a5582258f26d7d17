#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <cstring>

#include "config/ParameterCatalogue.h"
#include "device/DeviceCharset.h"
#include "device/Protocol.h"

// The two commands the serial suites of every link drive the line with.

struct SerialOutcome {
    CommandStatus status;
    QString text;  // the command's error text
    qint64 ms;     // how long the whole command took
};

// Reads the document name (parameter group 1, line 1), timed.
inline SerialOutcome ReadDocumentNameTimed() {
    char data[26] = {};
    char errorText[ErrorTextSize] = {};
    uint8_t error = 0;
    QElapsedTimer clock;
    clock.start();
    const CommandStatus status =
        ParameterCommand(ModeRead, GroupDocumentName, 1, 1, data, error, errorText);
    return {status, FromCp1251(errorText), clock.elapsed()};
}

// Writes or reads goods record `index` with `name` (barcode 1, section 1,
// price 1.00); a read leaves the record's name in `name`.
inline CommandStatus ExchangeGoodsRecord(uint8_t mode, uint16_t index, QByteArray& name) {
    char field[DeviceDataSize + 1] = {};
    std::memcpy(field, name.constData(), size_t(qMin<int>(name.size(), DeviceDataSize)));
    char barcode[BarcodeTextSize] = "1";
    uint8_t section = 1, error = 0;
    int64_t price = 100;
    char errorText[ErrorTextSize] = {};
    const CommandStatus status =
        GoodsCommand(mode, index, field, barcode, section, price, error, errorText);
    name = QByteArray(field);
    return status;
}
