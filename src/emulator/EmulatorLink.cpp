#include "emulator/EmulatorLink.h"

#include <algorithm>
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
    withdraw();
    return true;
}

void EmulatorLink::configure(int baudRate) {
    baudRate_ = baudRate;
}

void EmulatorLink::withdraw() {
    line_.erase(std::remove_if(line_.begin(), line_.end(), [](const OnLine& a) { return !a.late; }),
                line_.end());
}

qint64 EmulatorLink::write(const QByteArray& bytes) {
    if (!open_) return -1;
    const Clock::time_point sentAt = Clock::now();
    withdraw();
    if (deviceSpeed_ > 0 && deviceSpeed_ != baudRate_) return bytes.size();
    const EmulatorReply reply = device_.exchange(bytes);
    if (reply.bytes.isEmpty()) return bytes.size();
    OnLine answer{reply.bytes, QVector<Clock::time_point>(reply.bytes.size(), sentAt), reply.late};
    // The device answers in order: nothing of this answer comes before the
    // end of one still on its way.
    const Clock::time_point behind = line_.isEmpty() ? sentAt : line_.last().due.last();
    for (int i = 0; i < answer.bytes.size(); ++i) {
        if (reply.isTimed())
            answer.due[i] = sentAt + std::chrono::nanoseconds(
                                         reply.arrivalNs(i, static_cast<int>(bytes.size())));
        answer.due[i] = std::max(answer.due[i], behind);
    }
    line_.append(answer);
    return bytes.size();
}

QByteArray EmulatorLink::read(int expected, int byteTimeoutMs, int totalTimeoutMs) {
    if (!open_ || expected <= 0 || line_.isEmpty()) return {};

    // Replay the line against the clock the way a serial read would see it;
    // bytes that have arrived already are there at once.
    using std::chrono::milliseconds;
    const Clock::time_point start = Clock::now();
    const bool bounded = totalTimeoutMs > 0;
    const Clock::time_point deadline = start + milliseconds(totalTimeoutMs);
    const milliseconds gap(byteTimeoutMs);
    QByteArray received;
    Clock::time_point last = start;
    while (received.size() < expected && !line_.isEmpty()) {
        OnLine& front = line_.first();
        const Clock::time_point at = std::max(front.due.first(), start);
        if (bounded && at > deadline) {
            SleepUntil(deadline);
            return received;
        }
        if (!received.isEmpty() && byteTimeoutMs > 0 && at - last > gap) {
            SleepUntil(last + gap);
            return received;
        }
        received.append(front.bytes.at(0));
        front.bytes.remove(0, 1);
        front.due.removeFirst();
        if (front.bytes.isEmpty()) line_.removeFirst();
        last = at;
    }
    if (received.size() == expected) {
        SleepUntil(last);
        return received;
    }
    // Fewer bytes than asked for: the line goes quiet and a time-out ends the read.
    Clock::time_point end = bounded ? deadline : Clock::time_point::max();
    if (byteTimeoutMs > 0) end = std::min(end, last + gap);
    end = std::max(end, last);
    if (end != Clock::time_point::max()) SleepUntil(end);
    return received;
}

void EmulatorLink::discardLateInput(int quietMs, int boundMs) {
    Q_UNUSED(quietMs);
    Q_UNUSED(boundMs);
    const Clock::time_point now = Clock::now();
    while (!line_.isEmpty() && line_.first().due.first() <= now) {
        OnLine& front = line_.first();
        front.bytes.remove(0, 1);
        front.due.removeFirst();
        if (front.bytes.isEmpty()) line_.removeFirst();
    }
}

bool EmulatorLink::inputWaiting() {
    return open_ && !line_.isEmpty() && line_.first().due.first() <= Clock::now();
}

void EmulatorLink::close() {
    open_ = false;
    withdraw();
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
