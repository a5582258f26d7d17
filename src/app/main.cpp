#include "goods/ui/Sd_edit.h"
#include "shell/UserDialogs.h"
#include "shell/ui/Main.h"
#include "shell/ui/QtDialogs.h"
#include "shell/ui/Wait.h"
#include "shell/ui/WindowProgress.h"
#include "shell/ui/ZelvoApplication.h"
#include "wizard/ui/Edit_dig.h"
#include "wizard/ui/Edit_string.h"

int main(int argc, char** argv) {
    ZelvoApplication app(argc, argv);
    QtDialogs dialogs;
    SetDialogs(&dialogs);
    WindowProgress progress;
    SetProgress(&progress);

    // The windows that live for the whole run, in the order they are needed;
    // the splash is made and destroyed by the main window's first show.
    TForm1 mainWindow;
    TForm6 lineEditor(&mainWindow);
    TForm7 numberEditor(&mainWindow);
    TForm8 goodsEditor(&mainWindow);
    TForm9 waitWindow(&mainWindow);
    Form6 = &lineEditor;
    Form7 = &numberEditor;
    Form8 = &goodsEditor;
    mainWindow.show();
    return app.exec();
}
