#include "shell/ui/ProgramWindows.h"
#include "shell/ui/ZelvoApplication.h"

int main(int argc, char** argv) {
    ZelvoApplication app(argc, argv);
    ProgramWindows windows;
    windows.mainWindow.show();
    return app.exec();
}
