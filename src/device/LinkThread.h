#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class SerialLink;

// A thread that owns one serial link: the link is made, used and destroyed in
// that thread alone (a QSerialPort belongs to the thread that made it), and
// the work given to it runs there in order. The device search asks every port
// through one of these, all at once.
class LinkThread {
public:
    using MakeLink = std::function<std::unique_ptr<SerialLink>()>;
    using Task = std::function<void(SerialLink&)>;

    explicit LinkThread(MakeLink makeLink);
    // Runs what was given, then closes and destroys the link.
    ~LinkThread();
    LinkThread(const LinkThread&) = delete;
    LinkThread& operator=(const LinkThread&) = delete;

    void post(Task task);
    // Until everything posted has run.
    void wait();

private:
    void run(const MakeLink& makeLink);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Task> tasks_;
    int running_ = 0;
    bool quit_ = false;
    std::thread thread_;
};
