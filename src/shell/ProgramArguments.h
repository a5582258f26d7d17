#pragma once

// What the window program answers on its command line before any window:
// --version and --help print and end the run; everything else (the toolkit's
// own options among it) is left to the toolkit and the windows.

#include <QString>
#include <QStringList>
#include <optional>

// The text to print for `arguments` (without the program's name) when they
// ask for the version or the help; nothing when the windows should start.
std::optional<QString> ProgramArgumentsAnswer(const QStringList& arguments);
