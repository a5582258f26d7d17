#include "emulator/EmulatorLink.h"
#include "shell/ui/ProgramWindows.h"
#include "shell/ui/StartUpReport.h"
#include "shell/ui/ZelvoApplication.h"

int main(int argc, char** argv) {
    ZelvoApplication app(argc, argv);
    RegisterInProcessEmulator();
    return RunReportingStartUpFailure([&app] {
        ProgramWindows windows;
        windows.mainWindow.show();
        return app.exec();
    });
}
