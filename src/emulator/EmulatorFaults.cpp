#include "emulator/EmulatorFaults.h"

#include <algorithm>

#include "device/Protocol.h"
#include "emulator/FrameCodec.h"

bool Fault::isValid() const {
    if (count == 0 || count < -1) return false;
    const bool byteOrDefault = value >= -1 && value <= 0xFF;
    switch (kind) {
        case FaultKind::Silent:
            return true;
        case FaultKind::Truncate:
            return value >= 0;
        case FaultKind::WrongFirstByte:
        case FaultKind::WrongLength:
        case FaultKind::WrongCode:
            return byteOrDefault;
        case FaultKind::DeviceError:
            return value >= 1 && value <= 0xFF;
        case FaultKind::Delay:
        case FaultKind::Late:
            return value >= 0;
        case FaultKind::Pace:
            return value > 0;
    }
    return false;
}

RequestTarget RequestTarget::of(const QByteArray& request) {
    RequestTarget target;
    if (request.size() <= 6) return target;
    target.command = FrameByte(request, 6);
    switch (target.command) {
        case CmdParameter:
            if (request.size() > 9) target.group = FrameByte(request, 9);
            if (request.size() > 10) target.index = FrameByte(request, 10);
            break;
        case CmdForm:
            if (request.size() > 9) target.index = FrameByte(request, 9);
            break;
        case CmdGoods:
            if (request.size() > 10) target.index = static_cast<int>(FrameUnsigned(request, 9, 2));
            break;
        default:
            break;
    }
    return target;
}

qint64 EmulatorReply::byteNs() const {
    return paceBaud > 0 ? 10'000'000'000LL / paceBaud : 0;
}

qint64 EmulatorReply::arrivalNs(int i, int requestLength) const {
    const qint64 perByte = byteNs();
    const qint64 start = std::max<qint64>(qint64(delayMs) * 1'000'000, requestLength * perByte);
    return start + qint64(i + 1) * perByte;
}

namespace {

bool Matches(int filter, int field) {
    return filter < 0 || filter == field;
}

}  // namespace

bool FaultSet::add(const Fault& fault) {
    if (!fault.isValid()) return false;
    faults_.append(fault);
    return true;
}

QVector<Fault> FaultSet::take(const RequestTarget& target) {
    QVector<Fault> matched;
    for (auto it = faults_.begin(); it != faults_.end();) {
        if (Matches(it->command, target.command) && Matches(it->group, target.group) &&
            Matches(it->index, target.index)) {
            matched.append(*it);
            if (it->count > 0 && --it->count == 0) {
                it = faults_.erase(it);
                continue;
            }
        }
        ++it;
    }
    return matched;
}

const Fault* FindFault(const QVector<Fault>& faults, FaultKind kind) {
    for (const Fault& fault : faults)
        if (fault.kind == kind) return &fault;
    return nullptr;
}

void DamageReply(QByteArray& frame, uint8_t command, const QVector<Fault>& faults) {
    if (frame.size() < 3) return;
    bool header = false;
    if (const Fault* f = FindFault(faults, FaultKind::WrongFirstByte)) {
        frame[0] = static_cast<char>(f->value < 0 ? 0x00 : f->value);
        header = true;
    }
    if (const Fault* f = FindFault(faults, FaultKind::WrongCode)) {
        frame[1] = static_cast<char>(f->value < 0 ? command : f->value);
        header = true;
    }
    if (const Fault* f = FindFault(faults, FaultKind::WrongLength)) {
        frame[2] = static_cast<char>(f->value < 0 ? (frame.size() + 1) & 0xFF : f->value);
        header = true;
    }
    // Keep the closing sum true to the bytes sent, so that the damage is only the
    // one that was asked for.
    if (header) CloseFrame(frame);
    if (const Fault* f = FindFault(faults, FaultKind::Truncate))
        if (f->value < frame.size()) frame.truncate(f->value);
}
