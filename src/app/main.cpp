#include <QMessageBox>

#include "emulator/EmulatorLink.h"
#include "shell/ui/ProgramWindows.h"
#include "shell/ui/ZelvoApplication.h"

int main(int argc, char** argv) {
    ZelvoApplication app(argc, argv);
    RegisterInProcessEmulator();
    try {
        ProgramWindows windows;
        windows.mainWindow.show();
        return app.exec();
    } catch (const std::exception& error) {
        // Start-up failed before the windows could report it: say so, then end.
        QApplication::restoreOverrideCursor();
        QMessageBox::critical(nullptr, QStringLiteral("Zelvo"),
                              QString::fromLocal8Bit(error.what()));
        return 1;
    }
}
