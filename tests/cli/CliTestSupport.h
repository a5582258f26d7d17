#pragma once

// What the zelvo-cli tests share: a full goods table and its file, and the
// simulator's exchange count.

#include <QByteArray>
#include <QString>

#include "device/DeviceCharset.h"
#include "goods/GoodsFile.h"
#include "goods/GoodsTable.h"
#include "goods/Price.h"
#include "support/SimProcess.h"

// Every record filled, so that a file written to the device and read back is
// the same file byte for byte.
inline void WriteFullGoodsFile(const QString& path) {
    GoodsTable table;
    QVector<GoodsRecord> rows(GoodsRecordCount);
    for (int i = 0; i < GoodsRecordCount; ++i) {
        GoodsRecord& row = rows[i];
        row.code = QByteArray::number(i);
        row.name = ToCp1251(QStringLiteral("ТОВАР %1").arg(i));
        row.font = i % 2 ? WideFontText() : NarrowFontText();
        row.barcode = QByteArray::number(4600000000000LL + i);
        row.section = QByteArray::number(i % 256);
        row.price = formatPrice(100 * i + 99);
    }
    table.setRecords(1, rows);
    SaveGoodsFile(table, path);
}

inline QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Exchanges the simulator has answered so far (it runs with --log).
inline int Exchanges(SimProcess& sim) {
    return int(sim.responses().size());
}
