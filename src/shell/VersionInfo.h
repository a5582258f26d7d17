#pragma once

#include <QString>
#include <optional>

struct VersionInfo {
    QString productName;
    QString fileVersion;
    QString companyName;
};

// The program's own version information: from the executable's version
// resource on Windows, from the same values compiled in elsewhere. Empty when
// the executable carries none.
std::optional<VersionInfo> ProgramVersionInfo();
