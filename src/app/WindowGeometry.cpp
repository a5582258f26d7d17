#include "app/WindowGeometry.h"

#include <QWidget>

#include "shell/ProgramSettings.h"

namespace {

const QString GeometryKey = QStringLiteral("MainWindow/geometry");

}  // namespace

void RestoreWindowGeometry(QWidget* window) {
    const QByteArray saved = NewProgramSettings()->value(GeometryKey).toByteArray();
    // Settings that do not read as a geometry leave the first start's size.
    if (!saved.isEmpty()) window->restoreGeometry(saved);
}

void SaveWindowGeometry(const QWidget* window) {
    NewProgramSettings()->setValue(GeometryKey, window->saveGeometry());
}
