#include "admin/StateDecoding.h"

#include <cstddef>

#include "shell/ItemLoop.h"

StateQuery QueryDeviceState() {
    StateQuery query;
    DeviceStateAnswer& a = query.answer;
    uint8_t deviceError = 0;
    const ItemResult result = RunCommand([&](char* errorText) {
        return StateCommand(deviceError, a.modeByte, a.flash, a.battery, a.documentNumber,
                            a.documentState, a.day, a.month, a.year, a.hour, a.minute,
                            a.factoryNumber, a.taxpayerNumber, a.currentGroup, errorText);
    });
    query.status = result.status;
    query.errorText = result.errorText;
    return query;
}

QString StateFailureMessage(const StateQuery& query) {
    return FailureMessage(QStringLiteral("Не удалось прочитать параметр."), query.errorText);
}

QString TwoDigits(int value) {
    const QString digits = QString::number(value);
    return value >= 0 && value < 10 ? QStringLiteral("0") + digits : digits;
}

namespace {

// The text of a code from its table; codes past the table have none.
template <std::size_t N>
QString CodeText(int code, const char16_t* const (&texts)[N]) {
    return code >= 0 && std::size_t(code) < N ? QString::fromUtf16(texts[code]) : QString();
}

}  // namespace

QString ModeText(int code) {
    static const char16_t* const texts[] = {u"Автоном.", u"Off-line", u"On-line"};
    return CodeText(code, texts);
}

QString SubModeText(int code) {
    static const char16_t* const texts[] = {u"Реж. П", u"Реж. Р", u"Реж. А"};
    return CodeText(code, texts);
}

QString BatteryText(int code) {
    static const char16_t* const texts[] = {u"Норма", u"АБР", u"АРП", u"АБР+АРП"};
    return CodeText(code, texts);
}

QDate StateDate(const DeviceStateAnswer& a) {
    return QDate(2000 + a.year, a.month, a.day);
}

StateTexts DecodeState(const DeviceStateAnswer& a) {
    StateTexts t;
    t.time = TwoDigits(a.hour) + QLatin1Char(':') + TwoDigits(a.minute);
    t.date = TwoDigits(a.day) + QLatin1Char('/') + TwoDigits(a.month) + QLatin1Char('/') +
             TwoDigits(a.year);
    const int mode = a.modeByte >> 4;
    const int subMode = a.modeByte & 0x0F;
    t.modeCode = QString::number(mode);
    t.modeText = ModeText(mode);
    t.subModeCode = QString::number(subMode);
    t.subModeText = SubModeText(subMode);
    t.flashCode = QString::number(a.flash);
    t.flashText = a.flash == 0 ? QStringLiteral("Норма") : QStringLiteral("Ошибка");
    t.batteryCode = QString::number(a.battery);
    t.batteryText = BatteryText(a.battery);
    t.documentNumber = QString::number(a.documentNumber);
    t.documentState =
        a.documentState == 0 ? QStringLiteral("Завершен") : QStringLiteral("Не завершен");
    // The factory number is a signed field on the device.
    t.factoryNumber = QString::number(int32_t(a.factoryNumber));
    t.taxpayerNumber = QString::number(qulonglong(a.taxpayerNumber & 0xFFFFFFFFFFFFULL));
    return t;
}
