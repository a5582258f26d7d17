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

// Every item the configuration's upload knows, in the order it writes them,
// the eight forms last.
QVector<ConfigurationItem> AllConfigurationItems();
// How the user is told of an item: "оператор 3, Ф.И.О.", "название ДСО",
// "услуга 2, строка 1", "клише 1, строка 8", "форма 4".
QString ConfigurationItemName(const ConfigurationItem& item);

// What a read of the device for the comparison did not learn: the items whose
// read failed and was passed over, and the clichés the device said it lacks.
struct UnreadItems {
    QVector<ConfigurationItem> failed;
    QVector<int> absentCliches;  // cliché numbers, from 1
};

// What the comparison knows of an item's value in the device.
enum class DeviceValueState {
    Read,     // the device answered with it
    Unknown,  // its read failed: the device may hold anything
    Absent    // the device has no such item (a second cliché)
};

struct ConfigurationDifference {
    ConfigurationItem item;
    QString name;         // "оператор 3, Ф.И.О."
    QString deviceValue;  // a password shows as "**" on both sides
    QString programValue;
    QString skipReason;  // why the upload would not write it; empty when it would
    DeviceValueState deviceState = DeviceValueState::Read;
    // Why the device would not hold the program's text as it is (characters it
    // does not print, a wide line cut); empty when it would.
    QString inexactReason;
};

// The items in which `device` and `program` differ, in the order the upload
// writes them (operators, document name, services, requisites, clichés), the
// forms last, and every item of `unread.failed` whatever the values: what the
// device holds there is not known, so it never counts as the same. A line is
// compared as the upload would leave it in the device, after the device's
// character set (small letters, Ё) and a wide line's limit; an empty line is
// the same whatever its width flag. A line of an absent cliché differs only
// when the program's line holds text. Which items the upload passes over is
// decided with the access flags of `device`: `device` is to start as a copy of
// `program`, so that a flag the read did not get is the program's.
QVector<ConfigurationDifference> CompareConfigurations(const DeviceConfiguration& device,
                                                       const DeviceConfiguration& program,
                                                       const UnreadItems& unread = {});

// `program` with the access flags of `device`: what an upload of the
// differences sends and passes over, as the comparison said.
DeviceConfiguration WithDeviceAccess(const DeviceConfiguration& program,
                                     const DeviceConfiguration& device);

// Copies `items` from `source` into `target`, nothing else.
void CopyConfigurationItems(DeviceConfiguration& target, const DeviceConfiguration& source,
                            const QVector<ConfigurationItem>& items);

QVector<ConfigurationItem> ItemsOf(const QVector<ConfigurationDifference>& differences);

// The items of `differences` whose device value was read: what "Взять из АС"
// may take. An unknown value is never taken for the device's.
QVector<ConfigurationItem> TakenItems(const QVector<ConfigurationDifference>& differences);

// How many of `differences` the device answered for, and how many not.
int ReadDifferenceCount(const QVector<ConfigurationDifference>& differences);
int UnknownItemCount(const QVector<ConfigurationDifference>& differences);

// The device column of an item whose read failed.
QString UnknownDeviceValueText();
// The device column of a line of a cliché the device does not have.
QString AbsentDeviceValueText();

// The comparison's summary: how many items differ, and how many could not be read.
QString ComparisonSummary(const QVector<ConfigurationDifference>& differences);
// One line naming the items that could not be read; empty when none.
QString UnknownItemsText(const QVector<ConfigurationDifference>& differences);
// One line naming the written items whose text the device would not hold as
// the program has it, with the reasons; empty when none.
QString InexactDifferencesText(const QVector<ConfigurationDifference>& differences);

// The text a password shows as, whatever it holds.
QString HiddenPasswordText();

// What the user is told when nothing differs.
QString NoDifferencesText();
