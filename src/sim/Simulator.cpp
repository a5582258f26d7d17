#include "sim/Simulator.h"

#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "emulator/EmulatorCommands.h"
#include "sim/SimSignals.h"

bool Simulator::configure() {
    for (const QString& line : options_.startup) {
        const QString error = ApplyEmulatorCommand(device_, line);
        if (!error.isEmpty()) {
            fprintf(stderr, "zelvo-sim: %s: %s\n", qPrintable(line), qPrintable(error));
            return false;
        }
    }
    return true;
}

int Simulator::run() {
    out_.line("PTY " + terminal_.path());
    out_.start();

    while (!stopRequested) {
        const qint64 now = NowNs();
        answers_.sendDue(now, terminal_);
        const QByteArray abandoned = framer_.expire(now);
        if (!abandoned.isEmpty()) logLine("DROP", abandoned);

        qint64 wake = framer_.deadlineNs();
        if (!answers_.isEmpty()) {
            const qint64 due = answers_.nextDueNs();
            wake = wake < 0 ? due : qMin(wake, due);
        }
        timespec timeout{};
        if (wake >= 0) {
            const qint64 wait = qMax<qint64>(0, wake - now);
            timeout.tv_sec = wait / 1'000'000'000;
            timeout.tv_nsec = wait % 1'000'000'000;
        }

        pollfd fds[5];
        nfds_t count = 0;
        fds[count++] = {WakeDescriptor(), POLLIN, 0};
        const nfds_t masterAt = count;
        fds[count++] = {terminal_.master(), POLLIN, 0};
        const nfds_t watchAt = count;
        fds[count++] = {terminal_.watch(), POLLIN, 0};
        const nfds_t controlAt = count;
        fds[count++] = {control_.isOpen() ? STDIN_FILENO : -1, POLLIN, 0};
        const nfds_t outputAt = count;
        fds[count++] = {out_.pending() ? STDOUT_FILENO : -1, POLLOUT, 0};

        if (ppoll(fds, count, wake >= 0 ? &timeout : nullptr, nullptr) < 0) {
            if (errno == EINTR) continue;
            perror("zelvo-sim: poll");
            return 1;
        }
        if (fds[watchAt].revents) readOpenEvents();
        if (fds[masterAt].revents) readMaster();
        if (fds[controlAt].revents) readControl();
        if (fds[outputAt].revents) out_.flush();
    }
    out_.finish();
    return 0;
}

void Simulator::readOpenEvents() {
    if (terminal_.takeOpenEvents()) portClosed();
}

void Simulator::portClosed() {
    // What the program did not read is gone, and so is an answer still on its way
    // (unless the test asked for one that outlives the close).
    terminal_.flushInput();
    answers_.withdraw();
    terminal_.releaseExclusive();
}

void Simulator::readMaster() {
    char buffer[512];
    for (;;) {
        const ssize_t n = ::read(terminal_.master(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n < 0 && errno == EIO) {
                const timespec pause{0, 1'000'000};
                nanosleep(&pause, nullptr);
            }
            return;
        }
        const qint64 now = NowNs();
        const QByteArray abandoned = framer_.expire(now);
        if (!abandoned.isEmpty()) logLine("DROP", abandoned);
        const QVector<RequestFramer::Frame> frames = framer_.feed(QByteArray(buffer, int(n)), now);
        if (const int noise = framer_.takeDroppedCount(); noise > 0 && log_)
            out_.line("NOISE " + QByteArray::number(noise));
        for (const RequestFramer::Frame& frame : frames) serve(frame);
    }
}

void Simulator::serve(const RequestFramer::Frame& frame) {
    // The program may have closed and reopened the port since the last poll:
    // take those events first, or their close would flush this answer.
    if (terminal_.watch() >= 0) readOpenEvents();
    // A new request ends whatever was still owed for the last one, apart from a
    // late answer: the device sends that first, and this one after it.
    if (!answers_.lateAhead()) terminal_.flushInput();
    answers_.withdraw();
    if (!hearsLineSpeed()) {
        // At another speed a real device receives only garbled bytes and keeps quiet.
        logLine("NOISE", frame.bytes);
        return;
    }
    const EmulatorReply reply = device_.exchange(frame.bytes);
    logLine("REQ", frame.bytes);
    logLine("RSP", reply.bytes);
    if (reply.bytes.isEmpty()) return;
    answers_.add(reply, frame);
    answers_.sendDue(NowNs(), terminal_);
}

bool Simulator::hearsLineSpeed() const {
    if (listenBaud_ <= 0) return true;
    // A pseudo-terminal keeps the speed the program set, though it sends at none.
    const int speed = terminal_.lineSpeed();
    if (speed < 0) return true;
    return speed == listenBaud_;
}
