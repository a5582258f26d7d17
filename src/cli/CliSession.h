#pragma once

#include "cli/CliDialogs.h"
#include "cli/CommandLine.h"
#include "cli/CommandReport.h"
#include "cli/ErrorStream.h"
#include "cli/TerminalProgress.h"

// What one run of zelvo-cli works with: the parsed command line, standard
// error shared by the dialogs and the progress bar, and the report.
struct CliSession {
    CommandLine line;
    ErrorStream stream;
    CliDialogs dialogs{stream};
    TerminalProgress progress{stream};
    CommandReport report;
};
