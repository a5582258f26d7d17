#include "config/ConfigurationDiff.h"

#include <cstring>

#include "config/DeviceCharset.h"
#include "config/DeviceConfiguration.h"
#include "config/ParameterCatalogue.h"
#include "config/UploadSkips.h"

namespace {

constexpr int RecordLines = 3;

QByteArray TextBytes(const DeviceText& text) {
    return FieldText(text.bytes, int(sizeof text.bytes));
}

// The characters behind the width flag; the flag counts only when there are some.
bool SameLine(const DeviceText& a, const DeviceText& b) {
    const QByteArray left = TextBytes(a);
    const QByteArray right = TextBytes(b);
    if (left.mid(1).isEmpty() && right.mid(1).isEmpty()) return true;
    return left == right;
}

QString LineValue(const DeviceText& text) {
    const QByteArray bytes = TextBytes(text);
    QString value = FromCp1251(bytes.mid(1));
    if (!value.isEmpty() && bytes.startsWith('1')) value += QStringLiteral(" (широкая)");
    return value;
}

QString NumberOrNone(int value) {
    return value == 0 ? QStringLiteral("нет") : QString::number(value);
}

QString KindText(int kind) {
    switch (kind) {
        case 0:
            return QStringLiteral("нет");
        case 1:
            return QStringLiteral("С");
        case 2:
            return QStringLiteral("Н");
        case 3:
            return QStringLiteral("К");
        default:
            return QString::number(kind);
    }
}

QString FormValue(const FormSlot& slot) {
    return QStringLiteral("вариант %1, реквизит %2, вид %3")
        .arg(NumberOrNone(slot.variant), NumberOrNone(slot.requisite), KindText(slot.kind));
}

bool SameForm(const FormSlot& a, const FormSlot& b) {
    return a.variant == b.variant && a.requisite == b.requisite && a.kind == b.kind;
}

QString OperatorLineName(int line) {
    switch (line) {
        case OperatorPositionLine:
            return QStringLiteral("должность");
        case OperatorNameLine:
            return QStringLiteral("Ф.И.О.");
        default:
            return QStringLiteral("пароль");
    }
}

class Collector {
public:
    Collector(const DeviceConfiguration& device, const DeviceConfiguration& program)
        : device_(device), program_(program) {}

    void line(ConfigurationItemKind kind, int record, int line, const QString& name,
              const DeviceText& device, const DeviceText& program) {
        if (SameLine(device, program)) return;
        add(kind, record, line, name, LineValue(device), LineValue(program));
    }
    void add(ConfigurationItemKind kind, int record, int line, const QString& name,
             const QString& device, const QString& program) {
        const ConfigurationItem item{kind, record, line};
        result.append({item, name, device, program, UploadSkipReason(program_, item)});
    }

    void operators() {
        for (int o = 0; o < OperatorCount; ++o) {
            const OperatorRecord& device = device_.operators[o];
            const OperatorRecord& program = program_.operators[o];
            const QString name = QStringLiteral("оператор %1, ").arg(o + 1);
            const auto kind = ConfigurationItemKind::OperatorLine;
            line(kind, o + 1, OperatorPositionLine, name + OperatorLineName(OperatorPositionLine),
                 device.position, program.position);
            line(kind, o + 1, OperatorNameLine, name + OperatorLineName(OperatorNameLine),
                 device.name, program.name);
            if (FieldText(device.password, int(sizeof device.password)) !=
                FieldText(program.password, int(sizeof program.password)))
                add(kind, o + 1, OperatorPasswordLine,
                    name + OperatorLineName(OperatorPasswordLine), HiddenPasswordText(),
                    HiddenPasswordText());
        }
    }

    void records(ConfigurationItemKind kind, const QString& noun, const ThreeLineRecord* device,
                 const ThreeLineRecord* program, int count) {
        for (int r = 0; r < count; ++r)
            for (int l = 0; l < RecordLines; ++l)
                line(kind, r + 1, l + 1,
                     QStringLiteral("%1 %2, строка %3").arg(noun).arg(r + 1).arg(l + 1),
                     device[r].lines[l], program[r].lines[l]);
    }

    void all() {
        operators();
        line(ConfigurationItemKind::DocumentName, 1, 1, QStringLiteral("название ДСО"),
             device_.documentName, program_.documentName);
        records(ConfigurationItemKind::ServiceLine, QStringLiteral("услуга"), device_.services,
                program_.services, ServiceCount);
        records(ConfigurationItemKind::RequisiteLine, QStringLiteral("реквизит"),
                device_.requisites, program_.requisites, RequisiteCount);
        for (int c = 0; c < ClicheCount; ++c)
            for (int l = 0; l < ClicheLineCount; ++l)
                line(ConfigurationItemKind::ClicheLine, c + 1, l + 1,
                     QStringLiteral("клише %1, строка %2").arg(c + 1).arg(l + 1),
                     device_.cliches[c].lines[l], program_.cliches[c].lines[l]);
        for (int f = 0; f < FormCount; ++f)
            if (!SameForm(device_.forms[f], program_.forms[f]))
                add(ConfigurationItemKind::Form, f + 1, 1, QStringLiteral("форма %1").arg(f + 1),
                    FormValue(device_.forms[f]), FormValue(program_.forms[f]));
    }

    QVector<ConfigurationDifference> result;

private:
    const DeviceConfiguration& device_;
    const DeviceConfiguration& program_;
};

bool InRange(int value, int count) {
    return value >= 1 && value <= count;
}

}  // namespace

QString HiddenPasswordText() {
    return QStringLiteral("**");
}

QString NoDifferencesText() {
    return QStringLiteral("Конфигурация совпадает с АС...");
}

QVector<ConfigurationDifference> CompareConfigurations(const DeviceConfiguration& device,
                                                       const DeviceConfiguration& program) {
    Collector collector(device, program);
    collector.all();
    return collector.result;
}

QVector<ConfigurationItem> ItemsOf(const QVector<ConfigurationDifference>& differences) {
    QVector<ConfigurationItem> items;
    items.reserve(differences.size());
    for (const ConfigurationDifference& difference : differences) items.append(difference.item);
    return items;
}

void CopyConfigurationItems(DeviceConfiguration& target, const DeviceConfiguration& source,
                            const QVector<ConfigurationItem>& items) {
    for (const ConfigurationItem& item : items) {
        const int r = item.record - 1;
        const int l = item.line - 1;
        switch (item.kind) {
            case ConfigurationItemKind::OperatorLine:
                if (!InRange(item.record, OperatorCount)) break;
                if (item.line == OperatorPositionLine)
                    target.operators[r].position = source.operators[r].position;
                else if (item.line == OperatorNameLine)
                    target.operators[r].name = source.operators[r].name;
                else if (item.line == OperatorPasswordLine)
                    std::memcpy(target.operators[r].password, source.operators[r].password,
                                sizeof target.operators[r].password);
                break;
            case ConfigurationItemKind::DocumentName:
                target.documentName = source.documentName;
                break;
            case ConfigurationItemKind::ServiceLine:
                if (InRange(item.record, ServiceCount) && InRange(item.line, RecordLines))
                    target.services[r].lines[l] = source.services[r].lines[l];
                break;
            case ConfigurationItemKind::RequisiteLine:
                if (InRange(item.record, RequisiteCount) && InRange(item.line, RecordLines))
                    target.requisites[r].lines[l] = source.requisites[r].lines[l];
                break;
            case ConfigurationItemKind::ClicheLine:
                if (InRange(item.record, ClicheCount) && InRange(item.line, ClicheLineCount))
                    target.cliches[r].lines[l] = source.cliches[r].lines[l];
                break;
            case ConfigurationItemKind::Form:
                if (!InRange(item.record, FormCount)) break;
                target.forms[r].variant = source.forms[r].variant;
                target.forms[r].requisite = source.forms[r].requisite;
                target.forms[r].kind = source.forms[r].kind;
                break;
        }
    }
}
