#pragma once

// "Применить" of the connection settings dialog, apart from its widgets: the
// texts of the fields go into PortSettings one step after the other.

#include <QString>

#include "device/PortSettings.h"

struct ConnectionFields {
    QString port = QStringLiteral("COM1");
    QString speed = QString::number(DefaultBaudRate);
    QString machineNumber = QStringLiteral("0");
    QString byteTimeout = QString::number(DefaultByteTimeout);
    QString totalTimeout = QString::number(DefaultTotalTimeout);
};

// The speeds the dialog offers, slowest first.
const QStringList& BaudRateChoices();

// Stores the fields into `settings` step by step, putting the defaults into
// empty fields first. A number that does not convert, or a time-out out of
// its bounds, throws ConversionError;
// what the earlier steps stored stays stored.
void ApplyConnectionFields(ConnectionFields& fields, PortSettings& settings);

// "Отмена": only the applied flag changes.
void CancelConnectionFields(PortSettings& settings);

// The status bar's port and speed panels.
QString PortPanelText(const PortSettings& settings);
QString SpeedPanelText(const PortSettings& settings);
QString PortPanelResetText();   // "Порт: "
QString SpeedPanelResetText();  // "Скорость: "

// Converts a typed number as the dialogs need it; throws ConversionError.
int ConvertInteger(const QString& text);
// A time-out, which is also bounded to 0..MaxTimeoutMs; throws ConversionError.
int ConvertTimeout(const QString& text);
// The message for a time-out out of those bounds.
QString TimeoutRangeText(const QString& text);
