#include "config/ConfigurationDiff.h"

#include <QStringList>
#include <algorithm>
#include <cstring>

#include "config/DeviceConfiguration.h"
#include "config/ParameterCatalogue.h"
#include "config/UploadSkips.h"
#include "device/DeviceCharset.h"
#include "device/Protocol.h"

namespace {

constexpr int RecordLines = 3;
// A wide line goes out as its flag and this many characters.
constexpr int WideLineCharacters = 12;

QByteArray TextBytes(const DeviceText& text) {
    return FieldText(text.bytes, int(sizeof text.bytes));
}

// What the device holds once the upload has written `field` and a read brings
// it back: the device letters decoded, every other byte of 0x80 and above a
// space (small Cyrillic letters, Ё), a wide line cut after its characters.
QByteArray HeldAfterWrite(const char* field, int size) {
    char source[DeviceDataSize + 1] = {};
    const QByteArray text = FieldText(field, size).left(DeviceDataSize);
    std::memcpy(source, text.constData(), std::size_t(text.size()));
    char encoded[DeviceDataSize + 1] = {};
    EncodeDeviceText(source, encoded);
    if (encoded[0] == '1')
        std::memset(encoded + 1 + WideLineCharacters, 0,
                    std::size_t(DeviceDataSize - WideLineCharacters - 1));
    char decoded[DeviceDataSize + 1] = {};
    DecodeDeviceText(encoded, decoded);
    return QByteArray(decoded);
}

QByteArray HeldAfterWrite(const DeviceText& text) {
    return HeldAfterWrite(text.bytes, int(sizeof text.bytes));
}

// The device's line against what writing the program's line would leave
// there; the width flag counts only when there are characters behind it.
bool SameLine(const DeviceText& device, const DeviceText& program) {
    const QByteArray left = TextBytes(device);
    const QByteArray right = HeldAfterWrite(program);
    if (left.mid(1).isEmpty() && right.mid(1).isEmpty()) return true;
    return left == right;
}

// Why the device would not hold the program's line as it is, empty when it would.
QString InexactReason(const DeviceText& program) {
    const QByteArray bytes = TextBytes(program);
    const QString text = FromCp1251(bytes.mid(1));
    QString refused;
    for (const QChar c : text)
        if (!DevicePrints(c) && !refused.contains(c)) refused += c;
    if (!refused.isEmpty()) return RefusedCharactersReason(refused);
    if (bytes.startsWith('1') && text.size() > WideLineCharacters)
        return QStringLiteral("в широкой строке АС хранит %1 символов").arg(WideLineCharacters);
    return {};
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
    Collector(const DeviceConfiguration& device, const DeviceConfiguration& program,
              const UnreadItems& unread)
        : device_(device),
          program_(program),
          upload_(WithDeviceAccess(program, device)),
          unread_(unread) {}

    void line(ConfigurationItemKind kind, int record, int line, const DeviceText& device,
              const DeviceText& program) {
        const ConfigurationItem item{kind, record, line};
        const bool absent = kind == ConfigurationItemKind::ClicheLine &&
                            unread_.absentCliches.contains(record) &&
                            !unread_.failed.contains(item);
        if (absent) {
            if (HeldAfterWrite(program).mid(1).isEmpty()) return;
        } else if (!unread_.failed.contains(item) && SameLine(device, program)) {
            return;
        }
        add(item, LineValue(device), LineValue(program));
        result.last().inexactReason = InexactReason(program);
        if (!absent) return;
        result.last().deviceState = DeviceValueState::Absent;
        result.last().deviceValue = AbsentDeviceValueText();
        result.last().skipReason = QStringLiteral("в АС нет клише %1").arg(record);
    }
    void add(const ConfigurationItem& item, const QString& device, const QString& program) {
        ConfigurationDifference difference;
        difference.item = item;
        difference.name = ConfigurationItemName(item);
        difference.deviceValue = device;
        difference.programValue = program;
        difference.skipReason = UploadSkipReason(upload_, item);
        if (unread_.failed.contains(item)) {
            difference.deviceState = DeviceValueState::Unknown;
            difference.deviceValue = UnknownDeviceValueText();
        }
        result.append(difference);
    }

    void operators() {
        for (int o = 0; o < OperatorCount; ++o) {
            const OperatorRecord& device = device_.operators[o];
            const OperatorRecord& program = program_.operators[o];
            const auto kind = ConfigurationItemKind::OperatorLine;
            line(kind, o + 1, OperatorPositionLine, device.position, program.position);
            line(kind, o + 1, OperatorNameLine, device.name, program.name);
            const ConfigurationItem password{kind, o + 1, OperatorPasswordLine};
            if (unread_.failed.contains(password) ||
                FieldText(device.password, int(sizeof device.password)) !=
                    HeldAfterWrite(program.password, int(sizeof program.password)))
                add(password, HiddenPasswordText(), HiddenPasswordText());
        }
    }

    void records(ConfigurationItemKind kind, const ThreeLineRecord* device,
                 const ThreeLineRecord* program, int count) {
        for (int r = 0; r < count; ++r)
            for (int l = 0; l < RecordLines; ++l)
                line(kind, r + 1, l + 1, device[r].lines[l], program[r].lines[l]);
    }

    void all() {
        operators();
        line(ConfigurationItemKind::DocumentName, 1, 1, device_.documentName,
             program_.documentName);
        records(ConfigurationItemKind::ServiceLine, device_.services, program_.services,
                ServiceCount);
        records(ConfigurationItemKind::RequisiteLine, device_.requisites, program_.requisites,
                RequisiteCount);
        for (int c = 0; c < ClicheCount; ++c)
            for (int l = 0; l < ClicheLineCount; ++l)
                line(ConfigurationItemKind::ClicheLine, c + 1, l + 1, device_.cliches[c].lines[l],
                     program_.cliches[c].lines[l]);
        for (int f = 0; f < FormCount; ++f) {
            const ConfigurationItem form{ConfigurationItemKind::Form, f + 1, 1};
            if (unread_.failed.contains(form) || !SameForm(device_.forms[f], program_.forms[f]))
                add(form, FormValue(device_.forms[f]), FormValue(program_.forms[f]));
        }
    }

    QVector<ConfigurationDifference> result;

private:
    const DeviceConfiguration& device_;
    const DeviceConfiguration& program_;
    const DeviceConfiguration upload_;
    const UnreadItems& unread_;
};

int CountOf(const QVector<ConfigurationDifference>& differences, DeviceValueState state) {
    return int(std::count_if(differences.cbegin(), differences.cend(),
                             [state](const ConfigurationDifference& difference) {
                                 return difference.deviceState == state;
                             }));
}

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

QString UnknownDeviceValueText() {
    return QStringLiteral("не прочитано");
}

QString AbsentDeviceValueText() {
    return QStringLiteral("нет в АС");
}

QVector<ConfigurationDifference> CompareConfigurations(const DeviceConfiguration& device,
                                                       const DeviceConfiguration& program,
                                                       const UnreadItems& unread) {
    Collector collector(device, program, unread);
    collector.all();
    return collector.result;
}

DeviceConfiguration WithDeviceAccess(const DeviceConfiguration& program,
                                     const DeviceConfiguration& device) {
    DeviceConfiguration result = program;
    for (int o = 0; o < OperatorCount; ++o) result.operators[o].access = device.operators[o].access;
    for (int s = 0; s < ServiceCount; ++s) result.services[s].access = device.services[s].access;
    for (int r = 0; r < RequisiteCount; ++r)
        result.requisites[r].access = device.requisites[r].access;
    return result;
}

QVector<ConfigurationItem> TakenItems(const QVector<ConfigurationDifference>& differences) {
    QVector<ConfigurationItem> items;
    for (const ConfigurationDifference& difference : differences)
        if (difference.deviceState == DeviceValueState::Read) items.append(difference.item);
    return items;
}

int ReadDifferenceCount(const QVector<ConfigurationDifference>& differences) {
    return int(differences.size()) - UnknownItemCount(differences);
}

int UnknownItemCount(const QVector<ConfigurationDifference>& differences) {
    return CountOf(differences, DeviceValueState::Unknown);
}

QString ComparisonSummary(const QVector<ConfigurationDifference>& differences) {
    QString summary =
        QStringLiteral("Отличается элементов: %1").arg(ReadDifferenceCount(differences));
    if (const int unknown = UnknownItemCount(differences); unknown > 0)
        summary += QStringLiteral(
                       "\nНе прочитано из АС элементов: %1; что в них хранит АС, "
                       "неизвестно.")
                       .arg(unknown);
    return summary;
}

QString UnknownItemsText(const QVector<ConfigurationDifference>& differences) {
    QStringList names;
    for (const ConfigurationDifference& difference : differences)
        if (difference.deviceState == DeviceValueState::Unknown) names << difference.name;
    if (names.isEmpty()) return {};
    return QStringLiteral("Не прочитаны из АС, их значения в АС неизвестны: ") +
           names.join(QStringLiteral("; ")) + QLatin1Char('.');
}

QString InexactDifferencesText(const QVector<ConfigurationDifference>& differences) {
    QStringList inexact;
    for (const ConfigurationDifference& difference : differences)
        if (difference.skipReason.isEmpty() && !difference.inexactReason.isEmpty())
            inexact << QStringLiteral("%1 (%2)").arg(difference.name, difference.inexactReason);
    if (inexact.isEmpty()) return {};
    return QStringLiteral("Будут записаны в АС не так, как в программе: ") +
           inexact.join(QStringLiteral("; ")) + QLatin1Char('.');
}

QVector<ConfigurationItem> AllConfigurationItems() {
    QVector<ConfigurationItem> items;
    const auto add = [&items](ConfigurationItemKind kind, int records, int lines) {
        for (int record = 1; record <= records; ++record)
            for (int line = 1; line <= lines; ++line) items.append({kind, record, line});
    };
    add(ConfigurationItemKind::OperatorLine, OperatorCount, RecordLines);
    add(ConfigurationItemKind::DocumentName, 1, 1);
    add(ConfigurationItemKind::ServiceLine, ServiceCount, RecordLines);
    add(ConfigurationItemKind::RequisiteLine, RequisiteCount, RecordLines);
    add(ConfigurationItemKind::ClicheLine, ClicheCount, ClicheLineCount);
    add(ConfigurationItemKind::Form, FormCount, 1);
    return items;
}

QString ConfigurationItemName(const ConfigurationItem& item) {
    const auto numbered = [&item](const char* noun) {
        return QStringLiteral("%1 %2, строка %3")
            .arg(QString::fromUtf8(noun))
            .arg(item.record)
            .arg(item.line);
    };
    switch (item.kind) {
        case ConfigurationItemKind::OperatorLine:
            return QStringLiteral("оператор %1, ").arg(item.record) + OperatorLineName(item.line);
        case ConfigurationItemKind::DocumentName:
            return QStringLiteral("название ДСО");
        case ConfigurationItemKind::ServiceLine:
            return numbered("услуга");
        case ConfigurationItemKind::RequisiteLine:
            return numbered("реквизит");
        case ConfigurationItemKind::ClicheLine:
            return QStringLiteral("клише %1, строка %2").arg(item.record).arg(item.line);
        case ConfigurationItemKind::Form:
            break;
    }
    return QStringLiteral("форма %1").arg(item.record);
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
