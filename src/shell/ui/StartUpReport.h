#pragma once

#include <functional>

// Runs the program's start-up and its message loop. A failure that escapes
// them, where no window is left to report it, is shown in a message box of its
// own (a standard exception with its message, anything else as an unexpected
// error) and the program ends with 1.
int RunReportingStartUpFailure(const std::function<int()>& run);
