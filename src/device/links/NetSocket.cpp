#include "device/links/NetSocket.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

bool ResolveBefore(QDeadlineTimer deadline, std::function<void()> resolve) {
    struct Shared {
        std::mutex lock;
        std::condition_variable done;
        bool finished = false;
    };
    auto shared = std::make_shared<Shared>();
    // Detached: a lookup that outlives the deadline finishes on its own and
    // only then frees what it holds.
    std::thread([shared, resolve = std::move(resolve)] {
        resolve();
        const std::lock_guard<std::mutex> guard(shared->lock);
        shared->finished = true;
        shared->done.notify_all();
    }).detach();
    std::unique_lock<std::mutex> guard(shared->lock);
    const auto finished = [&] { return shared->finished; };
    if (deadline.isForever()) {
        shared->done.wait(guard, finished);
        return true;
    }
    return shared->done.wait_for(
        guard, std::chrono::milliseconds(std::max<qint64>(0, deadline.remainingTime())), finished);
}
