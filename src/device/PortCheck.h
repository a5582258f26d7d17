#pragma once

// Whether the device answers on the port of the settings: the port is opened
// and asked the state query once. Applying settings and the start with the
// settings of the last run both ask this way, so that a port with nothing
// behind it is never shown as connected.

#include <QString>
#include <cstdint>

#include "device/ExchangeRecord.h"
#include "device/PortSettings.h"

struct PortCheck {
    enum class Result { NotOpened, Silent, Answered };
    Result result = Result::NotOpened;
    QString openError;        // why the port did not open, when the link could tell
    uint8_t deviceError = 0;  // the answer's error code (a wrong factory number answers too)
    bool asked = false;       // the query was sent: `record` holds the exchange
    ExchangeRecord record;
};

// Opens the port of `settings`, sends the state query with its factory number
// and waits for the answer within its time-outs. A system port is asked
// through a link of its own, so this may run in any thread and leaves the
// program-wide frame buffer alone; a port served by a registered link (the
// emulator) is asked through that link, in the thread that owns it. Throws
// ConversionError when the factory number is not a number, before anything is
// opened. The caller puts the record into the exchange log.
PortCheck CheckPort(const PortSettings& settings);

// The port is served by a registered link, not a system port.
bool ServedByRegisteredLink(const QString& portName);

// The status bar's port panel after a check that failed: "Порт COM3: нет
// ответа", or that the port did not open.
QString FailedPortPanelText(const QString& portName, const PortCheck& check);
