#include "emulator/EmulatorLink.h"

#include <thread>

#include "device/LinkRegistry.h"
#include "device/PortNames.h"
#include "emulator/DeviceEmulator.h"

namespace {

// std::this_thread::sleep_until sleeps once for a steady clock, and where the
// system sleeps in whole milliseconds (mingw-w64 on Windows) it wakes early:
// a replayed answer would beat the line it stands for.
template <typename TimePoint>
void SleepUntil(TimePoint until) {
    for (auto now = TimePoint::clock::now(); now < until; now = TimePoint::clock::now())
        std::this_thread::sleep_for(until - now);
}

}  // namespace

EmulatorLink::EmulatorLink(DeviceEmulator& device) : device_(device) {}

bool EmulatorLink::open(const QString& path) {
    lastPath_ = path;
    if (openFails_) return false;
    open_ = true;
    ++openCount_;
    pending_ = EmulatorReply{};
    return true;
}

void EmulatorLink::configure(int baudRate) {
    baudRate_ = baudRate;
}

qint64 EmulatorLink::write(const QByteArray& bytes) {
    if (!open_) return -1;
    sentAt_ = Clock::now();
    requestLength_ = static_cast<int>(bytes.size());
    if (deviceSpeed_ > 0 && deviceSpeed_ != baudRate_)
        pending_ = EmulatorReply{};
    else
        pending_ = device_.exchange(bytes);
    return bytes.size();
}

QByteArray EmulatorLink::read(int expected, int byteTimeoutMs, int totalTimeoutMs) {
    if (!open_ || expected <= 0) return {};
    const EmulatorReply reply = pending_;
    pending_ = EmulatorReply{};
    if (!reply.isTimed()) return reply.bytes.left(expected);

    // Replay the answer against the clock the way a serial read would see it.
    using std::chrono::milliseconds;
    using std::chrono::nanoseconds;
    const bool bounded = totalTimeoutMs > 0;
    const Clock::time_point deadline = sentAt_ + milliseconds(totalTimeoutMs);
    const nanoseconds gap = milliseconds(byteTimeoutMs);
    QByteArray received;
    Clock::time_point last;
    const int available = qMin(expected, static_cast<int>(reply.bytes.size()));
    for (int i = 0; i < available; ++i) {
        const Clock::time_point at = sentAt_ + nanoseconds(reply.arrivalNs(i, requestLength_));
        if (bounded && at > deadline) {
            SleepUntil(deadline);
            return received;
        }
        if (i > 0 && byteTimeoutMs > 0 && at - last > gap) {
            SleepUntil(last + gap);
            return received;
        }
        received.append(reply.bytes.at(i));
        last = at;
    }
    if (received.size() == expected) {
        SleepUntil(last);
        return received;
    }
    // Fewer bytes than asked for: the line goes quiet and a time-out ends the read.
    Clock::time_point end = bounded ? deadline : Clock::time_point::max();
    if (!received.isEmpty()) {
        if (byteTimeoutMs > 0) end = qMin(end, last + gap);
        end = qMax(end, last);
    }
    if (end != Clock::time_point::max()) SleepUntil(end);
    return received;
}

void EmulatorLink::close() {
    open_ = false;
    pending_ = EmulatorReply{};
}

DeviceEmulator& InProcessEmulator() {
    static DeviceEmulator device;
    return device;
}

EmulatorLink& InProcessEmulatorLink() {
    static EmulatorLink link(InProcessEmulator());
    return link;
}

void RegisterInProcessEmulator() {
    RegisterPortLink(EmulatorPortName(), &InProcessEmulatorLink());
}
