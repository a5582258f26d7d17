#pragma once

#include <QString>

#include "shell/DialogFolders.h"

class QFileDialog;

// Starts `dialog` in the folder for `kind`. Call before proposing a file name
// (selectFile), which the folder would otherwise replace.
void StartInFolder(QFileDialog& dialog, FileKind kind);

// Runs `dialog`: the file chosen, or an empty name when it was cancelled. The
// chosen file's folder is where the next dialog for `kind` starts.
QString RunFileDialog(QFileDialog& dialog, FileKind kind);
