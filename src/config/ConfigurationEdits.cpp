#include "config/ConfigurationEdits.h"

#include <QVector>
#include <cstddef>
#include <cstring>
#include <vector>

#include "config/ConfigurationDiff.h"
#include "config/ConfigurationSync.h"

namespace {

// A byte range of the configuration that is put back whole: a line, a
// password, a flag, a form's slot. Never less, so that a field is never left
// half one value and half another.
struct Field {
    std::size_t offset;
    std::size_t size;
};

const std::vector<Field>& Fields() {
    static const std::vector<Field> fields = [] {
        std::vector<Field> list;
        const auto add = [&list](std::size_t offset, std::size_t size) {
            list.push_back({offset, size});
        };
        for (std::size_t i = 0; i < OperatorCount; ++i) {
            const std::size_t base =
                offsetof(DeviceConfiguration, operators) + i * sizeof(OperatorRecord);
            add(base + offsetof(OperatorRecord, position), sizeof(DeviceText));
            add(base + offsetof(OperatorRecord, name), sizeof(DeviceText));
            add(base + offsetof(OperatorRecord, password), sizeof(OperatorRecord::password));
            add(base + offsetof(OperatorRecord, access), sizeof(OperatorRecord::access));
        }
        add(offsetof(DeviceConfiguration, documentName), sizeof(DeviceText));
        const auto threeLines = [&add](std::size_t first) {
            for (std::size_t i = 0; i < ServiceCount; ++i) {
                const std::size_t base = first + i * sizeof(ThreeLineRecord);
                for (std::size_t line = 0; line < 3; ++line)
                    add(base + line * sizeof(DeviceText), sizeof(DeviceText));
                add(base + offsetof(ThreeLineRecord, access), sizeof(ThreeLineRecord::access));
            }
        };
        static_assert(ServiceCount == RequisiteCount);
        threeLines(offsetof(DeviceConfiguration, services));
        threeLines(offsetof(DeviceConfiguration, requisites));
        add(offsetof(DeviceConfiguration, reserved), ReservedSize);
        for (std::size_t i = 0; i < ClicheCount; ++i) {
            const std::size_t base =
                offsetof(DeviceConfiguration, cliches) + i * sizeof(ClicheRecord);
            for (std::size_t line = 0; line < ClicheLineCount; ++line)
                add(base + line * sizeof(DeviceText), sizeof(DeviceText));
            add(base + offsetof(ClicheRecord, status), sizeof(ClicheRecord::status));
        }
        for (std::size_t i = 0; i < FormCount; ++i)
            add(offsetof(DeviceConfiguration, forms) + i * sizeof(FormSlot), sizeof(FormSlot));
        return list;
    }();
    return fields;
}

const unsigned char* Bytes(const DeviceConfiguration& config) {
    return reinterpret_cast<const unsigned char*>(&config);
}

bool Same(const DeviceConfiguration& a, const DeviceConfiguration& b, const Field& field) {
    return std::memcmp(Bytes(a) + field.offset, Bytes(b) + field.offset, field.size) == 0;
}

// Each field that went from `from` to `to` and still holds `from` takes `to`.
bool Restore(DeviceConfiguration& config, const DeviceConfiguration& from,
             const DeviceConfiguration& to) {
    bool changed = false;
    for (const Field& field : Fields()) {
        if (Same(from, to, field) || !Same(config, from, field)) continue;
        std::memcpy(reinterpret_cast<unsigned char*>(&config) + field.offset,
                    Bytes(to) + field.offset, field.size);
        changed = true;
    }
    return changed;
}

}  // namespace

bool ConfigurationChange::isEmpty() const {
    return std::memcmp(&before, &after, sizeof(DeviceConfiguration)) == 0;
}

QString ConfigurationChange::itemsText() const {
    QVector<ConfigurationItem> touched;
    for (const ConfigurationItem& item : AllConfigurationItems())
        if (ConfigurationItemValue(before, item) != ConfigurationItemValue(after, item))
            touched.append(item);
    return NamedConfigurationItems(touched);
}

ConfigurationChangeRecorder::ConfigurationChangeRecorder(const DeviceConfiguration& config)
    : start_(config) {}

ConfigurationChange ConfigurationChangeRecorder::finish(const DeviceConfiguration& config) const {
    return ConfigurationChange{start_, config};
}

bool RestoreBefore(DeviceConfiguration& config, const ConfigurationChange& change) {
    return Restore(config, change.after, change.before);
}

bool RestoreAfter(DeviceConfiguration& config, const ConfigurationChange& change) {
    return Restore(config, change.before, change.after);
}

bool MergeChanges(ConfigurationChange& first, const ConfigurationChange& second) {
    if (std::memcmp(&first.after, &second.before, sizeof(DeviceConfiguration)) != 0) return false;
    first.after = second.after;
    return true;
}
