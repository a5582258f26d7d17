#pragma once

// The device state as the state page shows it: one query, and the decoding of
// its answer into the page's texts. Kept apart from the page so that the form
// table reading can ask for the current group the same way.

#include <QByteArray>
#include <QDate>
#include <QString>
#include <cstdint>

#include "device/Protocol.h"

// The fields of a state answer, as StateCommand hands them out.
struct DeviceStateAnswer {
    uint8_t modeByte = 0;
    uint8_t flash = 0;
    uint8_t currentGroup = 0;
    uint8_t battery = 0;
    uint16_t documentNumber = 0;
    uint8_t documentState = 0;
    uint8_t day = 0;
    uint8_t month = 0;
    uint8_t year = 0;
    uint8_t hour = 0;
    uint8_t minute = 0;
    uint32_t factoryNumber = 0;
    uint64_t taxpayerNumber = 0;
};

struct StateQuery {
    CommandStatus status = StatusOk;
    QByteArray errorText;  // Windows-1251, empty on success
    DeviceStateAnswer answer;
    bool ok() const { return status == StatusOk; }
};

// Runs one StateCommand; the answer is meaningful only when ok().
StateQuery QueryDeviceState();
// What the state page says when the query failed.
QString StateFailureMessage(const StateQuery& query);

// The fourteen texts of the state page, in the order the page fills them.
struct StateTexts {
    QString time;
    QString date;
    QString modeCode;
    QString modeText;
    QString subModeCode;
    QString subModeText;
    QString flashCode;
    QString flashText;
    QString batteryCode;
    QString batteryText;
    QString documentNumber;
    QString documentState;
    QString factoryNumber;
    QString taxpayerNumber;
};

StateTexts DecodeState(const DeviceStateAnswer& answer);
// The device's date (its year counted from 2000); invalid when the bytes name
// no calendar day.
QDate StateDate(const DeviceStateAnswer& answer);

// A value as at least two decimal digits: 5 → "05", 123 → "123".
QString TwoDigits(int value);
// Texts of the mode, sub-mode and battery codes; empty for codes without one.
QString ModeText(int code);
QString SubModeText(int code);
QString BatteryText(int code);
