#include "support/SampleData.h"

#include <cstring>

#include "config/DeviceConfiguration.h"
#include "goods/GoodsTable.h"
#include "goods/Price.h"
#include "wizard/DeviceLine.h"

namespace {

// A line as the line editor stores what the user typed.
void StoreTyped(DeviceText& line, const QString& typed, bool wide) {
    StoreLine(line, DeviceLineInput(typed), wide);
}

}  // namespace

void FillSampleConfiguration(DeviceConfiguration& config) {
    std::memset(&config, 0, sizeof config);
    ResetConfiguration(config);
    ResetFormTable(config);
    for (int i = 0; i < OperatorCount; ++i) {
        OperatorRecord& op = config.operators[i];
        StoreTyped(op.position, QStringLiteral("Кассир %1").arg(i + 1), false);
        StoreTyped(op.name, QStringLiteral("Иванова А.%1.").arg(i + 1), i % 2 == 1);
        StorePassword(op.password, QString::number(1000 + i * 7));
    }
    StoreTyped(config.documentName, QStringLiteral("Квитанция"), false);
    for (int i = 0; i < ServiceCount; ++i) {
        for (int line = 0; line < 3; ++line) {
            StoreTyped(config.services[i].lines[line],
                       QStringLiteral("Услуга %1 строка %2").arg(i + 1).arg(line + 1), line == 0);
            StoreTyped(config.requisites[i].lines[line],
                       QStringLiteral("Реквизит %1.%2").arg(i + 1).arg(line + 1), false);
        }
    }
    for (int c = 0; c < ClicheCount; ++c) {
        for (int line = 0; line < ClicheLineCount; ++line) {
            StoreTyped(config.cliches[c].lines[line],
                       QStringLiteral("ООО \"Ромашка\" %1-%2").arg(c + 1).arg(line + 1), line == 0);
        }
    }
    for (int n = 0; n < FormCount; ++n) {
        config.forms[n].variant = uint8_t(n % 7);
        config.forms[n].requisite = uint8_t(n + 1);
        config.forms[n].kind = uint8_t(n % 4);
    }
}

void FillSampleGoods(GoodsTable& table, int rows) {
    const QByteArray names[] = {"\xD5\xEB\xE5\xE1 \xE1\xE5\xEB\xFB\xE9", "MOLOKO 3.2%",
                                "\xCA\xCE\xD4\xC5", ""};
    for (int row = 1; row <= rows && row <= GoodsRecordCount; ++row) {
        GoodsRecord record;
        record.code = QByteArray::number(row - 1);
        record.name = names[row % 4];
        record.font = row % 3 == 0 ? WideFontText() : NarrowFontText();
        record.barcode = row % 5 == 0 ? QByteArray() : QByteArray::number(4600000000000LL + row);
        record.section = QByteArray::number(row % 256);
        record.price = formatPrice(int64_t(row) * 1999);
        table.setRecord(row, record);
    }
}
