#pragma once

#include <QString>
#include <optional>

// Standard input as a person at a terminal or as a script feeds it.

// True when standard input is a terminal.
bool StandardInputIsTerminal();

// One line typed at the terminal without showing it (the terminal's echo is
// off while it is read, and restored however the read ends), after `prompt`
// on standard error. Nothing when the input ended first or `stop` turned
// true while waiting (Ctrl+C: the terminal must not be left without echo).
std::optional<QString> ReadHiddenLine(const QString& prompt, bool (*stop)());

// One line of standard input, its line end removed. Nothing when the input
// ended before any character.
std::optional<QString> ReadInputLine();
