#include "emulator/RequestFramer.h"

#include "device/Protocol.h"

namespace {

// Up to the length byte every request looks alike; a length byte too small to
// be true still yields a frame (of the header alone) so that the device can
// answer it with an error instead of waiting for ever.
constexpr int HeaderLength = 8;

int FrameLength(const QByteArray& buffer) {
    if (buffer.size() < HeaderLength) return HeaderLength;
    return qMax(HeaderLength, static_cast<int>(static_cast<uint8_t>(buffer.at(7))));
}

}  // namespace

RequestFramer::RequestFramer(qint64 gapNs) : gapNs_(gapNs) {}

QVector<RequestFramer::Frame> RequestFramer::feed(const QByteArray& bytes, qint64 nowNs) {
    expire(nowNs);
    QVector<Frame> frames;
    for (char byte : bytes) {
        if (buffer_.isEmpty()) {
            if (static_cast<uint8_t>(byte) != STX) {
                ++dropped_;
                continue;
            }
            firstByteNs_ = nowNs;
        }
        buffer_.append(byte);
        lastByteNs_ = nowNs;
        if (buffer_.size() >= FrameLength(buffer_)) {
            frames.append(Frame{buffer_, firstByteNs_});
            buffer_.clear();
        }
    }
    return frames;
}

QByteArray RequestFramer::expire(qint64 nowNs) {
    if (buffer_.isEmpty() || nowNs - lastByteNs_ <= gapNs_) return {};
    QByteArray abandoned;
    abandoned.swap(buffer_);
    return abandoned;
}

qint64 RequestFramer::deadlineNs() const {
    return buffer_.isEmpty() ? -1 : lastByteNs_ + gapNs_;
}

int RequestFramer::takeDroppedCount() {
    const int count = dropped_;
    dropped_ = 0;
    return count;
}
