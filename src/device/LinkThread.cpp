#include "device/LinkThread.h"

#include "device/SerialLink.h"

LinkThread::LinkThread(MakeLink makeLink)
    : thread_([this, make = std::move(makeLink)] { run(make); }) {}

LinkThread::~LinkThread() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void LinkThread::post(Task task) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    changed_.notify_all();
}

void LinkThread::wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return tasks_.empty() && running_ == 0; });
}

void LinkThread::run(const MakeLink& makeLink) {
    const std::unique_ptr<SerialLink> link = makeLink();
    for (;;) {
        Task task;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [this] { return quit_ || !tasks_.empty(); });
            if (tasks_.empty()) break;
            task = std::move(tasks_.front());
            tasks_.pop_front();
            ++running_;
        }
        task(*link);
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            --running_;
        }
        changed_.notify_all();
    }
    link->close();
}
