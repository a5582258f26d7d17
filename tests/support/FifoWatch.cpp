#include "support/FifoWatch.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <chrono>

FifoWatch::FifoWatch(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    made_ = ::mkfifo(native.constData(), 0644) == 0;
    if (!made_) return;
    watcher_ = std::thread([this, native] {
        while (!stop_) {
            // A non-blocking open for writing succeeds only while a reader has
            // the FIFO open; closing it again gives that reader its end of file.
            const int fd = ::open(native.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                opened_ = true;
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
}

FifoWatch::~FifoWatch() {
    stop_ = true;
    if (watcher_.joinable()) watcher_.join();
}

#else

// Windows has no FIFOs: made() stays false and the tests that need one skip.
FifoWatch::FifoWatch(const QString&) {}
FifoWatch::~FifoWatch() = default;

#endif
