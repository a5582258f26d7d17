#include "cli/ErrorStream.h"

#include <cstdio>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

ErrorStream::ErrorStream() {
#ifdef Q_OS_UNIX
    terminal_ = isatty(STDERR_FILENO) != 0;
#endif
}

void ErrorStream::message(const QString& text) {
    QByteArray bytes;
    if (!bar_.isEmpty()) bytes += "\r\x1b[K";
    bytes += text.toLocal8Bit();
    if (!text.endsWith(QLatin1Char('\n'))) bytes += '\n';
    if (!bar_.isEmpty()) bytes += bar_.toLocal8Bit();
    write(bytes);
}

void ErrorStream::showBar(const QString& bar) {
    if (!terminal_) return;
    bar_ = bar;
    write("\r\x1b[K" + bar.toLocal8Bit());
}

void ErrorStream::clearBar() {
    if (bar_.isEmpty()) return;
    bar_.clear();
    write("\r\x1b[K");
}

void ErrorStream::write(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stderr);
    std::fflush(stderr);
}
