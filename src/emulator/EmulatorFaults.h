#pragma once

#include <QByteArray>
#include <QVector>
#include <cstdint>

// Ways the emulated device can misbehave, so that every failure path of the
// program can be reached without hardware.
enum class FaultKind {
    Silent,          // the request is lost: nothing is processed, nothing answered
    Truncate,        // only the first `value` bytes of the answer go out
    WrongFirstByte,  // byte 0 is `value` (default 0x00) instead of 0x18
    WrongLength,     // byte 2 is `value` (default the true length + 1)
    WrongCode,       // byte 1 is `value` (default the command byte itself)
    DeviceError,     // the request is refused with error code `value` (1..255)
    Delay,           // the answer starts `value` ms after the request
    Pace,            // the answer's bytes go out at `value` bit/s, 10 bits a byte
    Late,            // as Delay, but the answer is on the wire: closing the port or
                     // the next request does not withdraw it, it comes before theirs
};

// A fault with its target. -1 in a filter matches every request; a request that
// lacks the field (the state command has no index) never matches a set filter.
struct Fault {
    FaultKind kind = FaultKind::Silent;
    int value = -1;
    int command = -1;  // command byte
    int group = -1;    // parameter group
    int index = -1;    // parameter first index, form number or goods record index
    int count = -1;    // matching requests it still applies to; -1 for ever

    // False when a kind that needs a value lacks a sensible one.
    bool isValid() const;
};

// The fields of a request that faults can be aimed at.
struct RequestTarget {
    int command = -1;
    int group = -1;
    int index = -1;

    static RequestTarget of(const QByteArray& request);
};

// What the device puts on the line for one request, and when.
struct EmulatorReply {
    QByteArray bytes;  // empty: silence
    int delayMs = 0;
    int paceBaud = 0;   // 0: all bytes at once
    bool late = false;  // sent whatever the program does meanwhile

    bool isTimed() const { return delayMs > 0 || paceBaud > 0; }
    qint64 byteNs() const;
    // Nanoseconds after the request's first byte when byte `i` of the answer has
    // wholly arrived. A paced answer never starts before a request of
    // `requestLength` bytes could have crossed the same line.
    qint64 arrivalNs(int i, int requestLength) const;
};

class FaultSet {
public:
    // Refuses (false) a fault that is not valid.
    bool add(const Fault& fault);
    void clear() { faults_.clear(); }
    bool isEmpty() const { return faults_.isEmpty(); }
    const QVector<Fault>& faults() const { return faults_; }

    // The faults that apply to this request; each counted one is used up by it.
    QVector<Fault> take(const RequestTarget& target);

private:
    QVector<Fault> faults_;
};

// The first matched fault of the kind, or nullptr.
const Fault* FindFault(const QVector<Fault>& faults, FaultKind kind);

// Corrupts a finished answer frame as the header and truncation faults ask.
void DamageReply(QByteArray& frame, uint8_t command, const QVector<Fault>& faults);
