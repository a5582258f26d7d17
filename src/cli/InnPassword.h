#pragma once

#include <QString>

class CommandLine;

// The password of `inn`, kept off the command line (where every local user
// sees it in the process list, and the shell's history keeps it): from
// --password-file FILE (its first line), else typed at the terminal without
// echo, else the first line of standard input. --password still works.
struct InnPasswordSource {
    enum class Outcome { Read, Usage, FileFailed, Interrupted };
    Outcome outcome = Outcome::Read;
    QString password;
    QString error;  // Usage, FileFailed: what the user is told; Interrupted: Ctrl+C
};

InnPasswordSource ReadInnPassword(const CommandLine& line);
