#include "support/InputLink.h"

#include "device/PortSettings.h"
#include "device/Protocol.h"
#include "support/FuzzCheck.h"

InputLink::InputLink(AnswerSource nextAnswer) : nextAnswer_(std::move(nextAnswer)) {
    PortSettings& settings = CurrentPortSettings();
    settings.PortName = QStringLiteral("COM1");
    settings.BaudRate = DefaultBaudRate;
    settings.ByteTimeout = DefaultByteTimeout;
    settings.TotalTimeout = DefaultTotalTimeout;
    settings.MachineNumber = QByteArrayLiteral("12345");
    SetLinkOverride(this);
}

InputLink::~InputLink() {
    SetLinkOverride(nullptr);
}

bool InputLink::open(const QString& path) {
    FUZZ_CHECK(!open_);
    FUZZ_CHECK(!path.isEmpty());
    open_ = true;
    return true;
}

void InputLink::configure(int baudRate) {
    FUZZ_CHECK(open_);
    FUZZ_CHECK(baudRate > 0);
}

qint64 InputLink::write(const QByteArray& bytes) {
    FUZZ_CHECK(open_);
    const int n = int(bytes.size());
    FUZZ_CHECK(n >= StateRequestLength && n <= FrameBufferSize);
    const auto at = [&](int i) { return uint8_t(bytes[i]); };
    FUZZ_CHECK(at(0) == STX);
    FUZZ_CHECK(at(7) == n);
    FUZZ_CHECK(at(n - 3) == END_MARK);
    uint16_t sum = 0;
    for (int i = 0; i < n - 2; ++i) sum = uint16_t(sum + at(i));
    FUZZ_CHECK(at(n - 2) == (sum & 0xFF) && at(n - 1) == (sum >> 8));
    lastRequest_ = bytes;
    ++exchanges_;
    return n;
}

bool InputLink::drain(QDeadlineTimer deadline) {
    FUZZ_CHECK(open_);
    FUZZ_CHECK(!deadline.isForever());
    return true;
}

QByteArray InputLink::read(int expected, int byteTimeoutMs, int totalTimeoutMs) {
    FUZZ_CHECK(open_);
    // A frame, or a drain of what waits on the line (a few frames at once).
    FUZZ_CHECK(expected > 0 && expected <= 2 * FrameBufferSize);
    FUZZ_CHECK(byteTimeoutMs >= 0 && totalTimeoutMs > 0);
    // A real port never hands out more than it was asked for.
    return nextAnswer_().left(expected);
}

void InputLink::discardLateInput(int quietMs, int boundMs) {
    FUZZ_CHECK(open_);
    // 0 and 0 drops only what is there; otherwise the bound is never shorter
    // than the quiet it waits for.
    FUZZ_CHECK(quietMs >= 0 && boundMs >= quietMs);
}

void InputLink::close() {
    FUZZ_CHECK(open_);
    open_ = false;
}
