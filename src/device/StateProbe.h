#pragma once

// One state query of the device search on a port the caller holds open, in
// frame buffers of its own: each port of a search is asked from a thread of
// its own, so the program-wide frame buffer and settings are never touched.

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "device/ExchangeRecord.h"

class SerialLink;

// The state query carrying `machineNumber`.
QByteArray StateRequest(int32_t machineNumber);

// True when the state query's answer came whole: the first byte and the
// response code of the state command, and either all of its bytes or as many
// as its own length byte says (a short refusal). The state command itself
// takes any length byte, so that alone does not rule an answer out.
bool IsStateAnswer(const QByteArray& answer);

struct StateProbeOutcome {
    bool answered = false;    // IsStateAnswer: the device is on this port at this speed
    uint8_t deviceError = 0;  // the answer's error code
    ExchangeRecord record;    // the exchange, for the exchange log
};

// Sends `request` at `baudRate` and waits for the answer up to `timeoutMs`
// after the request has left the port; a gap of `byteGapMs` ends it. Input
// that came in since the port's last probe (`firstProbe` false) is dropped
// first: it answers none of ours.
StateProbeOutcome ProbeState(SerialLink& link, const QString& portName, const QByteArray& request,
                             int baudRate, int timeoutMs, int byteGapMs, bool firstProbe);
