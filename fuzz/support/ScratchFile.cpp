#include "support/ScratchFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "support/FuzzCheck.h"

QString ScratchPath(const QString& name) {
    // In memory where the system offers it: the saves sync to disk, and a
    // disk shared with other work would make every run wait for it.
    static QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                 ? QStringLiteral("/dev/shm/zelvo-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/zelvo-fuzz-XXXXXX"));
    FUZZ_CHECK(dir.isValid());
    return dir.filePath(name);
}

QString WriteScratchFile(const QString& name, const QByteArray& bytes) {
    const QString path = ScratchPath(name);
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
    return path;
}
