#pragma once

// Putting the line back in step after an exchange that failed. The device
// answers requests in order, so an answer that came too late, or the rest of a
// cut one, is still ahead of anything asked afterwards. A state query sent
// before the next real request, with everything before its own answer
// dropped, proves that every such answer has gone by, however late it was:
// the state answer differs in length and code from every other command's, so
// neither can pass for the other.

#include <QByteArray>
#include <QString>

#include "device/ExchangeRecord.h"

class SerialLink;

struct MarkerOutcome {
    bool settled = false;  // the marker's own answer came in whole
    int discarded = 0;     // bytes dropped before it (or in all, when it never came)
    ExchangeRecord record;
};

// Whether `frame` begins with a whole answer to the state query. Its length
// byte is not examined: the state command takes any.
bool IsMarkerAnswer(const QByteArray& frame);

// Sends the state query `request` on the open `link` and drops whatever
// arrives until the answer to it has come, or the total time-out after the
// request has left the port. `alreadyDropped` counts input dropped before
// (left waiting when the port opened); it is added to the outcome's.
MarkerOutcome PutMarker(SerialLink& link, const QString& portName, const QByteArray& request,
                        int baudRate, int byteTimeoutMs, int totalTimeoutMs, int alreadyDropped);

// Reads away the input waiting on the open `link` and says how many bytes
// that was; input that keeps coming is dropped uncounted after a bound.
int DropWaitingInput(SerialLink& link);
