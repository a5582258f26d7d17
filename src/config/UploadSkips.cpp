#include "config/UploadSkips.h"

#include <QStringList>

#include "config/ConfigurationDiff.h"
#include "config/DeviceConfiguration.h"
#include "device/DeviceCharset.h"

bool PasswordAllowsUpload(const OperatorRecord& op) {
    const QByteArray text = FieldText(op.password, int(sizeof op.password));
    if (text.isEmpty()) return false;
    int start = (text[0] == '+' || text[0] == '-') ? 1 : 0;
    if (start == text.size()) return false;
    bool nonZero = false;
    for (int i = start; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        if (text[i] != '0') nonZero = true;
    }
    return nonZero;
}

QString UploadSkipReason(const DeviceConfiguration& config, const ConfigurationItem& item) {
    const QString banned = QStringLiteral("изменение запрещено в АС");
    const int r = item.record - 1;
    switch (item.kind) {
        case ConfigurationItemKind::OperatorLine:
            if (r < 0 || r >= OperatorCount) break;
            if (config.operators[r].access == 0) return banned;
            if (!PasswordAllowsUpload(config.operators[r]))
                return QStringLiteral("пароль оператора пуст или равен нулю");
            break;
        case ConfigurationItemKind::ServiceLine:
            if (r >= 0 && r < ServiceCount && config.services[r].access == 0) return banned;
            break;
        case ConfigurationItemKind::RequisiteLine:
            if (r >= 0 && r < RequisiteCount && config.requisites[r].access == 0) return banned;
            break;
        default:
            break;
    }
    return {};
}

QVector<ConfigurationItem> WrittenItems(const QVector<ConfigurationDifference>& differences) {
    QVector<ConfigurationItem> items;
    for (const ConfigurationDifference& difference : differences)
        if (difference.skipReason.isEmpty()) items.append(difference.item);
    return items;
}

QString SkippedDifferencesText(const QVector<ConfigurationDifference>& differences) {
    QStringList skipped;
    for (const ConfigurationDifference& difference : differences)
        if (!difference.skipReason.isEmpty())
            skipped << QStringLiteral("%1 (%2)").arg(difference.name, difference.skipReason);
    if (skipped.isEmpty()) return {};
    return QStringLiteral("Не будут записаны в АС: ") + skipped.join(QStringLiteral("; ")) +
           QLatin1Char('.');
}
