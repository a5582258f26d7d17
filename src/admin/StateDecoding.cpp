#include "admin/StateDecoding.h"

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

QString TwoDigits(int value) {
    const QString digits = QString::number(value);
    return value >= 0 && value < 10 ? QStringLiteral("0") + digits : digits;
}

QString ModeText(int code) {
    switch (code) {
        case 0:
            return QStringLiteral("Автоном.");
        case 1:
            return QStringLiteral("Off-line");
        case 2:
            return QStringLiteral("On-line");
        default:
            return {};
    }
}

QString SubModeText(int code) {
    switch (code) {
        case 0:
            return QStringLiteral("Реж. П");
        case 1:
            return QStringLiteral("Реж. Р");
        case 2:
            return QStringLiteral("Реж. А");
        default:
            return {};
    }
}

QString BatteryText(int code) {
    switch (code) {
        case 0:
            return QStringLiteral("Норма");
        case 1:
            return QStringLiteral("АБР");
        case 2:
            return QStringLiteral("АРП");
        case 3:
            return QStringLiteral("АБР+АРП");
        default:
            return {};
    }
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
