#include "cli/Interrupt.h"

#include <QtGlobal>
#include <atomic>
#include <csignal>

#ifdef Q_OS_UNIX
#include <pthread.h>
#include <unistd.h>

#include <thread>
#endif

namespace {

std::atomic<bool> g_interrupted{false};

}  // namespace

#ifdef Q_OS_UNIX

void InstallInterruptHandler() {
    // Blocked in every thread and awaited by one: an interrupted poll() or
    // write() would otherwise end an exchange early and look like a device
    // that did not answer.
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::thread([set] {
        int signal = 0;
        if (sigwait(&set, &signal) != 0) return;
        g_interrupted = true;
        if (sigwait(&set, &signal) != 0) return;
        static const char text[] = "\nПрервано.\n";
        [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, text, sizeof text - 1);
        _exit(130);
    }).detach();
}

#else

namespace {

void OnInterrupt(int) {
    g_interrupted = true;
    std::signal(SIGINT, SIG_DFL);
}

}  // namespace

void InstallInterruptHandler() {
    std::signal(SIGINT, OnInterrupt);
}

#endif

bool InterruptRequested() {
    return g_interrupted;
}
