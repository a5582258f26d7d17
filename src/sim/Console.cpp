#include "sim/Console.h"

#include <fcntl.h>
#include <unistd.h>

#include <QString>
#include <cerrno>

#include "sim/NonBlocking.h"

void Output::start() {
    if (!isatty(STDOUT_FILENO)) {
        flags_ = fcntl(STDOUT_FILENO, F_GETFL);
        SetNonBlocking(STDOUT_FILENO);
    }
}

void Output::line(const QByteArray& text) {
    queue_ += text;
    queue_ += '\n';
    flush();
}

void Output::flush() {
    while (!queue_.isEmpty()) {
        const ssize_t n = ::write(STDOUT_FILENO, queue_.constData(), size_t(queue_.size()));
        if (n > 0) {
            queue_.remove(0, n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            if (n < 0 && errno != EAGAIN) queue_.clear();  // nobody is reading any more
            return;
        }
    }
}

void Output::finish() {
    if (flags_ >= 0) fcntl(STDOUT_FILENO, F_SETFL, flags_);
    flush();
}

QStringList ControlInput::read(bool& ended) {
    ended = false;
    QStringList lines;
    char buffer[1024];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n < 0) {
        if (errno != EINTR && errno != EAGAIN) open_ = false;
        return lines;
    }
    if (n == 0) {
        open_ = false;
        ended = true;
        return lines;
    }
    buffer_.append(buffer, int(n));
    for (int end; (end = int(buffer_.indexOf('\n'))) >= 0;) {
        const QString line = QString::fromUtf8(buffer_.left(end)).trimmed();
        buffer_.remove(0, end + 1);
        if (!line.isEmpty()) lines.append(line);
    }
    return lines;
}
