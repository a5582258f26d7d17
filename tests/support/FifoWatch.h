#pragma once

// A FIFO for the loaders, watched from a thread: whoever opens it for reading
// is seen and released at once (a writer opens and closes it), so a loader
// that opens it ends with an empty read instead of waiting for ever, and the
// test can tell that it was opened at all.

#include <QString>
#include <atomic>
#include <thread>

class FifoWatch {
public:
    explicit FifoWatch(const QString& path);
    ~FifoWatch();
    FifoWatch(const FifoWatch&) = delete;
    FifoWatch& operator=(const FifoWatch&) = delete;

    bool made() const { return made_; }
    // True once a reader had it open.
    bool opened() const { return opened_; }

private:
    bool made_ = false;
    std::atomic<bool> stop_{false};
    std::atomic<bool> opened_{false};
    std::thread watcher_;
};
