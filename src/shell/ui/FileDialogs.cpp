#include "shell/ui/FileDialogs.h"

#include <QFileDialog>

void StartInFolder(QFileDialog& dialog, FileKind kind) {
    dialog.setDirectory(DialogFolder(kind));
}

QString RunFileDialog(QFileDialog& dialog, FileKind kind) {
    if (dialog.exec() != QDialog::Accepted) return {};
    const QString path = dialog.selectedFiles().value(0);
    RememberDialogFolder(kind, path);
    return path;
}
