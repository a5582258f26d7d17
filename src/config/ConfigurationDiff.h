#pragma once

// What the device holds differently from the program's configuration, item by
// item: the lines of the operators, services, requisites and clichés, the
// document name and the forms. Only what the program can write is compared;
// the access flags and the statuses are the device's own.

#include <QString>
#include <QVector>

struct DeviceConfiguration;

enum class ConfigurationItemKind {
    OperatorLine,
    DocumentName,
    ServiceLine,
    RequisiteLine,
    ClicheLine,
    Form
};

// One writable item. `record` is the operator, service, requisite, cliché or
// form number and `line` the line in it, both from 1; the document name is
// record 1, line 1, and a form has line 1 only.
struct ConfigurationItem {
    ConfigurationItemKind kind = ConfigurationItemKind::DocumentName;
    int record = 1;
    int line = 1;

    bool operator==(const ConfigurationItem& other) const {
        return kind == other.kind && record == other.record && line == other.line;
    }
};

struct ConfigurationDifference {
    ConfigurationItem item;
    QString name;         // "оператор 3, Ф.И.О."
    QString deviceValue;  // a password shows as "**" on both sides
    QString programValue;
    QString skipReason;  // why the upload would not write it; empty when it would
};

// The items in which `device` and `program` differ, in the order the upload
// writes them (operators, document name, services, requisites, clichés), the
// forms last. An empty line is the same whatever its width flag.
QVector<ConfigurationDifference> CompareConfigurations(const DeviceConfiguration& device,
                                                       const DeviceConfiguration& program);

// Copies `items` from `source` into `target`, nothing else.
void CopyConfigurationItems(DeviceConfiguration& target, const DeviceConfiguration& source,
                            const QVector<ConfigurationItem>& items);

QVector<ConfigurationItem> ItemsOf(const QVector<ConfigurationDifference>& differences);

// The text a password shows as, whatever it holds.
QString HiddenPasswordText();

// What the user is told when nothing differs.
QString NoDifferencesText();
