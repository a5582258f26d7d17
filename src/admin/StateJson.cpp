#include "admin/StateJson.h"

#include <QDate>
#include <QJsonValue>

#include "admin/StateDecoding.h"

namespace {

// A date as ISO 8601 ("2026-12-07"); null for the bytes of no calendar day.
QJsonValue IsoDate(const QDate& date) {
    return date.isValid() ? QJsonValue(date.toString(Qt::ISODate)) : QJsonValue();
}

}  // namespace

QJsonObject StateJson(const DeviceStateAnswer& answer) {
    const StateTexts t = DecodeState(answer);
    return QJsonObject{
        {QStringLiteral("time"), t.time},
        {QStringLiteral("date"), IsoDate(StateDate(answer))},
        {QStringLiteral("modeCode"), t.modeCode.toInt()},
        {QStringLiteral("modeText"), t.modeText},
        {QStringLiteral("subModeCode"), t.subModeCode.toInt()},
        {QStringLiteral("subModeText"), t.subModeText},
        {QStringLiteral("flashCode"), t.flashCode.toInt()},
        {QStringLiteral("flashText"), t.flashText},
        {QStringLiteral("batteryCode"), t.batteryCode.toInt()},
        {QStringLiteral("batteryText"), t.batteryText},
        {QStringLiteral("documentNumber"), t.documentNumber.toInt()},
        {QStringLiteral("documentState"), t.documentState},
        {QStringLiteral("factoryNumber"), t.factoryNumber.toLongLong()},
        {QStringLiteral("taxpayerNumber"), t.taxpayerNumber.toLongLong()},
        {QStringLiteral("currentGroup"), int(answer.currentGroup)},
    };
}
