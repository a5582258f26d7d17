#include "shell/ProgramSettings.h"

#include <QStandardPaths>

std::unique_ptr<QSettings> NewProgramSettings() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return std::make_unique<QSettings>(folder + QStringLiteral("/Zelvo/zelvo.ini"),
                                       QSettings::IniFormat);
}
