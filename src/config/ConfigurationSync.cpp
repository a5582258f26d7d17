#include "config/ConfigurationSync.h"

#include <QStringList>
#include <cstring>

#include "config/ConfigurationDiff.h"
#include "config/DeviceConfiguration.h"
#include "device/ParameterGroups.h"
#include "shell/UnsentWork.h"
#include "shell/UserDialogs.h"

namespace {

// Enough names to find them on the pages; the rest are counted.
constexpr int NamedItems = 5;

int KeyOf(const ConfigurationItem& item) {
    return int(item.kind) * 10000 + item.record * 100 + item.line;
}

QByteArray FieldValue(const char* field, int size) {
    return QByteArray(field, int(strnlen(field, std::size_t(size))));
}

// A line's flag says nothing while no character follows it: an editor that
// sets the flag on an empty line has not changed it.
QByteArray LineValue(const char* field, int size) {
    const QByteArray value = FieldValue(field, size);
    return value.size() <= 1 ? QByteArray() : value;
}

bool IsPassword(const ConfigurationItem& item) {
    return item.kind == ConfigurationItemKind::OperatorLine && item.line == OperatorPasswordLine;
}

QByteArray FormValue(const FormSlot& slot) {
    const char bytes[] = {char(slot.variant), char(slot.requisite), char(slot.kind)};
    return QByteArray(bytes, int(sizeof bytes));
}

QByteArray ParameterValue(const ConfigurationItem& item, const char* field, int size) {
    return IsPassword(item) ? FieldValue(field, size) : LineValue(field, size);
}

}  // namespace

bool ConfigurationItemOfParameter(uint8_t group, uint8_t index, uint8_t line,
                                  ConfigurationItem& item) {
    switch (group) {
        case GroupOperator:
            item = {ConfigurationItemKind::OperatorLine, index, line};
            return index >= 1 && index <= OperatorCount && line >= 1 && line <= 3;
        case GroupDocumentName:
            item = {ConfigurationItemKind::DocumentName, 1, 1};
            return true;
        case GroupService:
            item = {ConfigurationItemKind::ServiceLine, index, line};
            return index >= 1 && index <= ServiceCount && line >= 1 && line <= 3;
        case GroupRequisite:
            item = {ConfigurationItemKind::RequisiteLine, index, line};
            return index >= 1 && index <= RequisiteCount && line >= 1 && line <= 3;
        case GroupCliche:
            item = {ConfigurationItemKind::ClicheLine, index, line};
            return index >= 1 && index <= ClicheCount && line >= 1 && line <= ClicheLineCount;
        default:
            return false;
    }
}

QString NamedConfigurationItems(const QVector<ConfigurationItem>& items) {
    QStringList names;
    for (int i = 0; i < items.size() && i < NamedItems; ++i)
        names << ConfigurationItemName(items[i]);
    QString text = names.join(QStringLiteral("; "));
    if (items.size() > NamedItems)
        text += QStringLiteral(" и ещё %1").arg(items.size() - NamedItems);
    return text;
}

QByteArray ConfigurationItemValue(const DeviceConfiguration& config,
                                  const ConfigurationItem& item) {
    const int r = item.record - 1;
    const int l = item.line - 1;
    const auto line = [](const DeviceText& text) {
        return LineValue(text.bytes, int(sizeof text.bytes));
    };
    switch (item.kind) {
        case ConfigurationItemKind::OperatorLine: {
            if (r < 0 || r >= OperatorCount) return {};
            const OperatorRecord& op = config.operators[r];
            if (item.line == OperatorPositionLine) return line(op.position);
            if (item.line == OperatorNameLine) return line(op.name);
            return FieldValue(op.password, int(sizeof op.password));
        }
        case ConfigurationItemKind::DocumentName:
            return line(config.documentName);
        case ConfigurationItemKind::ServiceLine:
            if (r < 0 || r >= ServiceCount || l < 0 || l >= 3) return {};
            return line(config.services[r].lines[l]);
        case ConfigurationItemKind::RequisiteLine:
            if (r < 0 || r >= RequisiteCount || l < 0 || l >= 3) return {};
            return line(config.requisites[r].lines[l]);
        case ConfigurationItemKind::ClicheLine:
            if (r < 0 || r >= ClicheCount || l < 0 || l >= ClicheLineCount) return {};
            return line(config.cliches[r].lines[l]);
        case ConfigurationItemKind::Form:
            if (r < 0 || r >= FormCount) return {};
            return FormValue(config.forms[r]);
    }
    return {};
}

void ConfigurationSync::keepAll(const DeviceConfiguration& config) {
    tracking_ = true;
    kept_.clear();
    for (const ConfigurationItem& item : AllConfigurationItems())
        kept_.insert(KeyOf(item), ConfigurationItemValue(config, item));
}

void ConfigurationSync::stopTracking() {
    tracking_ = false;
    kept_.clear();
}

void ConfigurationSync::keepParameter(uint8_t group, uint8_t index, uint8_t line, const char* field,
                                      int size) {
    ConfigurationItem item;
    if (!ConfigurationItemOfParameter(group, index, line, item)) return;
    kept_.insert(KeyOf(item), ParameterValue(item, field, size));
}

bool ConfigurationSync::isUnsent(uint8_t group, uint8_t index, uint8_t line, const char* field,
                                 int size) const {
    ConfigurationItem item;
    if (!tracking_ || !ConfigurationItemOfParameter(group, index, line, item)) return false;
    return ParameterValue(item, field, size) != kept_.value(KeyOf(item));
}

void ConfigurationSync::keepForm(int formNumber, const FormSlot& slot) {
    if (formNumber < 1 || formNumber > FormCount) return;
    kept_.insert(KeyOf({ConfigurationItemKind::Form, formNumber, 1}), FormValue(slot));
}

QVector<ConfigurationItem> ConfigurationSync::unsentItems(const DeviceConfiguration& config) const {
    return unsentItems(config, AllConfigurationItems());
}

QVector<ConfigurationItem> ConfigurationSync::unsentItems(
    const DeviceConfiguration& config, const QVector<ConfigurationItem>& among) const {
    QVector<ConfigurationItem> unsent;
    if (!tracking_) return unsent;
    for (const ConfigurationItem& item : among)
        if (ConfigurationItemValue(config, item) != kept_.value(KeyOf(item))) unsent.append(item);
    return unsent;
}

QString ConfigurationSync::unsentText(const DeviceConfiguration& config) const {
    return unsentText(config, AllConfigurationItems());
}

QString ConfigurationSync::unsentText(const DeviceConfiguration& config,
                                      const QVector<ConfigurationItem>& among) const {
    return NamedConfigurationItems(unsentItems(config, among));
}

ConfigurationSync& ProgramConfigurationSync() {
    static ConfigurationSync sync;
    return sync;
}

bool ConfirmOverUnsentConfiguration(const QString& step) {
    return ConfirmOverUnsentConfiguration(step, AllConfigurationItems());
}

bool ConfirmOverUnsentConfiguration(const QString& step, const QVector<ConfigurationItem>& among) {
    return ConfirmOverUnsentWork(
        Dialogs(), {ProgramConfigurationSync().unsentText(CurrentConfiguration(), among)}, step);
}
