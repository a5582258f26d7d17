#include "support/Unprivileged.h"

#ifdef Q_OS_UNIX
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <cstdio>

namespace {

constexpr uid_t NobodyId = 65534;
constexpr int CannotDrop = 77;

}  // namespace

UnprivilegedRun RunUnprivileged(const std::function<bool()>& step) {
    UnprivilegedRun run;
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) {
        run.reason = QStringLiteral("fork failed");
        return run;
    }
    if (child == 0) {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(NobodyId) != 0 || ::setuid(NobodyId) != 0))
            ::_exit(CannotDrop);
        ::_exit(step() ? 0 : 1);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        run.outcome = UnprivilegedOutcome::Failed;
        return run;
    }
    if (WEXITSTATUS(status) == CannotDrop) {
        run.reason = QStringLiteral("root cannot change to the user nobody here");
        return run;
    }
    run.outcome =
        WEXITSTATUS(status) == 0 ? UnprivilegedOutcome::Passed : UnprivilegedOutcome::Failed;
    return run;
}

bool OpenForEveryone(const QString& folder) {
    return QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                             QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                             QFile::ExeOther);
}

#else

// Windows has neither root nor "nobody": the step cannot be run as another user.
UnprivilegedRun RunUnprivileged(const std::function<bool()>&) {
    return {UnprivilegedOutcome::Unavailable, QStringLiteral("no other user to run as on Windows")};
}

bool OpenForEveryone(const QString&) {
    return true;
}

#endif
