#pragma once

#include <QString>

// Where the program's open and save dialogs start. The working folder is no
// place for the user's files: on Windows it is the install folder, which the
// user cannot write to, and which goes with the program when it is removed.
// Each kind of file has its own folder, remembered in the program's settings.

enum class FileKind {
    Configuration,  // "Загрузить из файла", "Сохранить в файл" (*.cfg)
    Goods,          // the goods database (*.base)
    GoodsCsv,       // "Экспорт в CSV", "Импорт из CSV"
    ExchangeLog,    // "Сохранить журнал"
    FormPdf,        // "Сохранить в PDF"
};

// The folder a dialog for `kind` starts in: the one last used for that kind
// while it still exists and is not the program's own folder, else the user's
// Documents folder (the home folder where there is none).
QString DialogFolder(FileKind kind);

// Remembers the folder of `chosenFile`, a file the user has just chosen in a
// dialog for `kind`. An empty name (a dialog cancelled) is passed over.
void RememberDialogFolder(FileKind kind, const QString& chosenFile);
