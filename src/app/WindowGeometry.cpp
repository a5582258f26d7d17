#include "app/WindowGeometry.h"

#include <QSettings>
#include <QWidget>

namespace {

const QString GeometryKey = QStringLiteral("MainWindow/geometry");

QSettings UserSettings() {
    return QSettings(QStringLiteral("Zelvo"), QStringLiteral("Zelvo"));
}

}  // namespace

void RestoreWindowGeometry(QWidget* window) {
    const QByteArray saved = UserSettings().value(GeometryKey).toByteArray();
    // Settings that do not read as a geometry leave the first start's size.
    if (!saved.isEmpty()) window->restoreGeometry(saved);
}

void SaveWindowGeometry(const QWidget* window) {
    UserSettings().setValue(GeometryKey, window->saveGeometry());
}
