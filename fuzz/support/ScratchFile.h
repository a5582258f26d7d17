#pragma once

#include <QByteArray>
#include <QString>

// Files the loaders read and the saves write, in a folder of the fuzzer
// process's own that goes away with it.
QString ScratchPath(const QString& name);
// Writes `bytes` as the whole file and returns its path.
QString WriteScratchFile(const QString& name, const QByteArray& bytes);
