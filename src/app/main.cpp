#include <QDirIterator>
#include <QIcon>

#include "app/ProgramWindows.h"
#include "emulator/EmulatorLink.h"
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
    ZelvoApplication app(argc, argv);
    QApplication::setWindowIcon(ApplicationIcon());
    // Lets a Wayland compositor match the window to the installed desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral(ZELVO_APP_ID));
    RegisterInProcessEmulator();
    MainWindow::setGeometryKept(true);
    return RunReportingStartUpFailure([&app] {
        ProgramWindows windows;
        windows.mainWindow.show();
        return app.exec();
    });
}
