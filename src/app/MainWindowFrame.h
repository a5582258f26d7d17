#pragma once

// What the main window's files share: the heights its frame is laid out with
// and the title it shows.

#include <QString>

namespace MainWindowFrame {
constexpr int ClientWidth = 742;
constexpr int ClientHeight = 504;
constexpr int ToolBarHeight = 30;
constexpr int StatusBarHeight = 19;
inline QString ProgramTitle() {
    return QStringLiteral("Zelvo");
}
}  // namespace MainWindowFrame
