#include "shell/DialogFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "shell/ProgramSettings.h"

namespace {

QString SettingsKey(FileKind kind) {
    switch (kind) {
        case FileKind::Configuration:
            return QStringLiteral("Folders/configuration");
        case FileKind::Goods:
            return QStringLiteral("Folders/goods");
        case FileKind::GoodsCsv:
            return QStringLiteral("Folders/csv");
        case FileKind::ExchangeLog:
            return QStringLiteral("Folders/exchange-log");
        case FileKind::FormPdf:
            return QStringLiteral("Folders/pdf");
    }
    return QStringLiteral("Folders/other");
}

// The program's own folder and everything under it (plugins, translations).
bool InProgramFolder(const QString& folder) {
    const QString program = QDir(QCoreApplication::applicationDirPath()).canonicalPath();
    const QString candidate = QDir(folder).canonicalPath();
    if (program.isEmpty() || candidate.isEmpty()) return false;
    return candidate.compare(program, Qt::CaseInsensitive) == 0 ||
           candidate.startsWith(program + QLatin1Char('/'), Qt::CaseInsensitive);
}

bool Usable(const QString& folder) {
    return !folder.isEmpty() && QFileInfo(folder).isDir() && !InProgramFolder(folder);
}

QString DefaultFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (Usable(documents)) return documents;
    return QDir::homePath();
}

}  // namespace

QString DialogFolder(FileKind kind) {
    const QString remembered = NewProgramSettings()->value(SettingsKey(kind)).toString();
    return Usable(remembered) ? remembered : DefaultFolder();
}

void RememberDialogFolder(FileKind kind, const QString& chosenFile) {
    if (chosenFile.trimmed().isEmpty()) return;
    const QString folder = QFileInfo(chosenFile).absolutePath();
    if (!Usable(folder)) return;
    NewProgramSettings()->setValue(SettingsKey(kind), QDir::toNativeSeparators(folder));
}
