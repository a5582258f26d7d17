#include "cli/ErrorStream.h"

#include "shell/TextOutput.h"

ErrorStream::ErrorStream() {
    terminal_ = IsTerminal(stderr);
}

void ErrorStream::message(const QString& text) {
    QString line;
    if (!bar_.isEmpty()) line += QStringLiteral("\r\x1b[K");
    line += text;
    if (!text.endsWith(QLatin1Char('\n'))) line += QLatin1Char('\n');
    if (!bar_.isEmpty()) line += bar_;
    write(line);
}

void ErrorStream::showBar(const QString& bar) {
    if (!terminal_) return;
    bar_ = bar;
    write(QStringLiteral("\r\x1b[K") + bar);
}

void ErrorStream::clearBar() {
    if (bar_.isEmpty()) return;
    bar_.clear();
    write(QStringLiteral("\r\x1b[K"));
}

void ErrorStream::write(const QString& text) {
    WriteText(stderr, text);
}
