#include "shell/UnsentWork.h"

#include "shell/UserDialogs.h"

QString UnsentWorkQuestion(const QStringList& unsent, const QString& step) {
    QString named = unsent.join(QStringLiteral("; "));
    // "Ф.И.О." ends the sentence with its own point.
    if (!named.endsWith(QLatin1Char('.'))) named += QLatin1Char('.');
    return QStringLiteral("Изменения не записаны в АС: %1\n%2").arg(named, step);
}

bool ConfirmOverUnsentWork(UserDialogs& dialogs, const QStringList& unsent, const QString& step) {
    QStringList named;
    for (const QString& item : unsent)
        if (!item.isEmpty()) named << item;
    if (named.isEmpty()) return true;
    return dialogs.confirmDefaultNo(UnsentWorkQuestion(named, step));
}

QString StepReadFromDevice() {
    return QStringLiteral("Прочитать данные из АС поверх них?");
}

QString StepLoadFile() {
    return QStringLiteral("Загрузить файл поверх них?");
}

QString StepCloseProgram() {
    return QStringLiteral("Закрыть программу без записи?");
}
