#pragma once

#include <QByteArray>
#include <QVector>

// Cuts request frames out of the byte stream that arrives on the device's line.
// A frame starts with STX (anything else in its place is noise and is dropped),
// its length byte says where it ends, and a frame that stalls for longer than
// the gap limit is abandoned so that the next request starts clean.
class RequestFramer {
public:
    struct Frame {
        QByteArray bytes;
        qint64 firstByteNs = 0;  // when its first byte arrived
    };

    explicit RequestFramer(qint64 gapNs = 300'000'000);

    // Bytes that arrived at nowNs (a monotonic clock). Returns the frames they
    // completed, in order.
    QVector<Frame> feed(const QByteArray& bytes, qint64 nowNs);

    // Abandons a partial frame whose last byte is older than the gap limit and
    // returns its bytes (empty when nothing was abandoned).
    QByteArray expire(qint64 nowNs);

    // When the partial frame will be abandoned; -1 when there is none.
    qint64 deadlineNs() const;

    const QByteArray& partial() const { return buffer_; }
    // Noise bytes dropped while looking for STX, since the last call.
    int takeDroppedCount();

private:
    qint64 gapNs_;
    QByteArray buffer_;
    qint64 firstByteNs_ = 0;
    qint64 lastByteNs_ = 0;
    int dropped_ = 0;
};
