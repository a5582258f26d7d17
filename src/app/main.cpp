#include <QDirIterator>
#include <QIcon>
#include <QSettings>
#include <cstdio>

#include "app/ProgramWindows.h"
#include "device/ConnectionSettingsStore.h"
#include "emulator/EmulatorLink.h"
#include "shell/ProgramArguments.h"
#include "shell/ProgramSettings.h"
#include "shell/TextOutput.h"
#include "shell/ui/StartUpReport.h"
#include "shell/ui/ZelvoApplication.h"

namespace {

// Every size of the application icon that the build rendered into :/icon, so
// the window shows the same picture as the desktop's menu at any scale.
QIcon ApplicationIcon() {
    QIcon icon;
    QDirIterator sizes(QStringLiteral(":/icon"), QDir::Files);
    while (sizes.hasNext()) icon.addFile(sizes.next());
    return icon;
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before the toolkit starts, so that they need no display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    if (const std::optional<QString> answer = ProgramArgumentsAnswer(arguments)) {
        PrepareTextOutput();
        WriteText(stdout, *answer);
        return 0;
    }
    ZelvoApplication app(argc, argv);
    QApplication::setWindowIcon(ApplicationIcon());
    // Lets a Wayland compositor match the window to the installed desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral(ZELVO_APP_ID));
    RegisterInProcessEmulator();
    SetConnectionSettingsStore(NewProgramSettings());
    MainWindow::setGeometryKept(true);
    return RunReportingStartUpFailure([&app] {
        ProgramWindows windows;
        windows.mainWindow.show();
        return app.exec();
    });
}
