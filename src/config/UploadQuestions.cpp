#include "config/UploadQuestions.h"

#include "config/ConfigurationDiff.h"
#include "config/DeviceConfiguration.h"
#include "config/UploadSkips.h"

QVector<ConfigurationItem> WholeUploadItems(const DeviceConfiguration& config) {
    QVector<ConfigurationItem> written;
    for (const ConfigurationItem& item : AllConfigurationItems())
        if (item.kind != ConfigurationItemKind::Form && UploadSkipReason(config, item).isEmpty())
            written.append(item);
    return written;
}

QString WholeUploadQuestion(int items) {
    return QStringLiteral(
               "Записать в АС всю конфигурацию (элементов: %1)?\nЗначения в АС будут заменены.")
        .arg(items);
}

QString DifferencesUploadQuestion(int items) {
    return QStringLiteral(
               "Записать в АС отличающиеся элементы (элементов: %1)?\nЗначения в АС будут "
               "заменены.")
        .arg(items);
}

QString TakeFromDeviceQuestion(int items) {
    return QStringLiteral(
               "Изменения не записаны в АС: отличающиеся элементы (элементов: %1).\nВы "
               "действительно хотите заменить значения программы значениями АС?")
        .arg(items);
}

QString SectionsUploadQuestion(const QStringList& sections, int items) {
    return QStringLiteral("Записать в АС: %1 (элементов: %2)?\nЗначения в АС будут заменены.")
        .arg(sections.join(QStringLiteral(", ")))
        .arg(items);
}
