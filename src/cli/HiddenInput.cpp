#include "cli/HiddenInput.h"

#include <cstdio>
#include <string>

#include "cli/TerminalInput.h"
#include "shell/TextOutput.h"

namespace {

std::optional<QString> ReadLine() {
    std::string line;
    bool any = false;
    for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar()) {
        any = true;
        line.push_back(char(c));
    }
    if (!any && std::feof(stdin)) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return QString::fromLocal8Bit(line.data(), qsizetype(line.size()));
}

}  // namespace

std::optional<QString> ReadHiddenLine(const QString& prompt, bool (*stop)()) {
    // Echo off before the prompt: a password typed as soon as the prompt shows
    // is neither shown nor lost.
    EchoOff quiet;
    WriteText(stderr, prompt);
    std::optional<QString> line;
    if (AwaitInputLine(stop)) line = ReadLine();
    if (!stop()) return line;
    // The next message starts on a line of its own.
    std::fputc('\n', stderr);
    return std::nullopt;
}

std::optional<QString> ReadInputLine() {
    return ReadLine();
}
