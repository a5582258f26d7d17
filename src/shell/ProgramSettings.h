#pragma once

#include <QSettings>
#include <memory>

// What the program keeps between runs (the connection settings last applied,
// the main window's size and place): one INI file, Zelvo/zelvo.ini in the
// user's configuration folder on every system (~/.config on Linux, AppData on
// Windows), never the Windows registry. Qt's test mode moves the folder, so a
// test never touches the user's own file.
std::unique_ptr<QSettings> NewProgramSettings();
