#pragma once

// Runs a piece of a test as a user whom file permissions bind. Root passes
// every permission check, so a test of a folder the user cannot write to runs
// its step in a child process that has dropped to "nobody".

#include <QString>
#include <functional>

enum class UnprivilegedOutcome { Passed, Failed, Unavailable };

struct UnprivilegedRun {
    UnprivilegedOutcome outcome = UnprivilegedOutcome::Unavailable;
    QString reason;  // Unavailable: why the step could not run
};

// `step` runs in a forked child, as "nobody" when the test runs as root; it
// returns whether it passed. Nothing it changes in memory reaches the caller.
UnprivilegedRun RunUnprivileged(const std::function<bool()>& step);

// Gives a folder (and so everything in it) to everyone for reading and
// searching, as the temporary folders of the tests are private to root.
bool OpenForEveryone(const QString& folder);
