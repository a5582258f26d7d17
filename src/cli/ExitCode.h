#pragma once

// What zelvo-cli tells the script that ran it.
enum ExitCode : int {
    ExitDone = 0,
    ExitDeviceFailed = 1,  // the device refused or did not answer
    ExitUsage = 2,         // wrong usage: nothing was sent
    ExitFileFailed = 3,    // a file could not be read or written
    ExitInterrupted = 130  // Ctrl+C, as a shell reports a process ended by SIGINT
};
