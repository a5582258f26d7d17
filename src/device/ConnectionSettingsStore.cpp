#include "device/ConnectionSettingsStore.h"

#include <QSettings>

#include "device/PortSettings.h"

namespace {

std::unique_ptr<QSettings>& Store() {
    static std::unique_ptr<QSettings> store;
    return store;
}

const QString Group = QStringLiteral("connection");
const QString PortKey = QStringLiteral("port");
const QString SpeedKey = QStringLiteral("speed");
const QString NumberKey = QStringLiteral("machineNumber");
const QString ByteTimeoutKey = QStringLiteral("byteTimeout");
const QString TotalTimeoutKey = QStringLiteral("totalTimeout");

}  // namespace

void SetConnectionSettingsStore(std::unique_ptr<QSettings> store) {
    Store() = std::move(store);
}

std::optional<ConnectionFields> StoredConnectionFields() {
    QSettings* store = Store().get();
    if (!store) return std::nullopt;
    store->beginGroup(Group);
    std::optional<ConnectionFields> fields;
    if (!store->value(PortKey).toString().isEmpty()) {
        // A value edited by hand goes back into its field as text; "Применить"
        // checks it as it checks what the user types.
        ConnectionFields kept;
        kept.port = store->value(PortKey).toString();
        kept.speed = store->value(SpeedKey, kept.speed).toString();
        kept.machineNumber = store->value(NumberKey, kept.machineNumber).toString();
        kept.byteTimeout = store->value(ByteTimeoutKey, kept.byteTimeout).toString();
        kept.totalTimeout = store->value(TotalTimeoutKey, kept.totalTimeout).toString();
        fields = kept;
    }
    store->endGroup();
    return fields;
}

void StoreConnectionFields(const ConnectionFields& fields) {
    QSettings* store = Store().get();
    if (!store) return;
    store->beginGroup(Group);
    store->setValue(PortKey, fields.port);
    store->setValue(SpeedKey, fields.speed);
    store->setValue(NumberKey, fields.machineNumber);
    store->setValue(ByteTimeoutKey, fields.byteTimeout);
    store->setValue(TotalTimeoutKey, fields.totalTimeout);
    store->endGroup();
    store->sync();
}

ConnectionFields InitialConnectionFields() {
    const PortSettings& settings = CurrentPortSettings();
    if (!settings.PortName.isEmpty()) {
        ConnectionFields fields;
        fields.port = settings.PortName;
        fields.speed = QString::number(settings.BaudRate);
        fields.machineNumber = QString::fromLatin1(settings.MachineNumber);
        fields.byteTimeout = QString::number(settings.ByteTimeout);
        fields.totalTimeout = QString::number(settings.TotalTimeout);
        return fields;
    }
    return StoredConnectionFields().value_or(ConnectionFields{});
}
