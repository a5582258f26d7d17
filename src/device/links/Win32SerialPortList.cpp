// The order matters: windows.h gives the types, initguid.h makes devguid.h
// define the device class it names.
#include <windows.h>
//
#include <initguid.h>
//
#include <devguid.h>
#include <setupapi.h>

#include <QRegularExpression>
#include <QSet>

#include "device/links/SystemSerialPorts.h"

namespace {

QString RegistryText(HKEY key, const wchar_t* value) {
    wchar_t text[256] = {};
    DWORD type = 0;
    DWORD size = sizeof text - sizeof(wchar_t);
    if (RegQueryValueExW(key, value, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    return QString::fromWCharArray(text, int(size / sizeof(wchar_t))).section(QChar(0), 0, 0);
}

QString DeviceProperty(HDEVINFO devices, SP_DEVINFO_DATA& device, DWORD property) {
    wchar_t text[256] = {};
    if (!SetupDiGetDeviceRegistryPropertyW(devices, &device, property, nullptr,
                                           reinterpret_cast<BYTE*>(text),
                                           sizeof text - sizeof(wchar_t), nullptr))
        return {};
    return QString::fromWCharArray(text);
}

QString ComLocation(const QString& name) {
    return QStringLiteral("\\\\.\\") + name;
}

// The ports class of the device manager: every port with a driver, with the
// name the user knows it by ("USB-SERIAL CH340 (COM3)").
void AddDeviceManagerPorts(QList<SystemSerialPort>& ports, QSet<QString>& seen) {
    const HDEVINFO devices =
        SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE) return;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(devices, i, &device); ++i) {
        const HKEY key =
            SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE) continue;
        const QString name = RegistryText(key, L"PortName");
        RegCloseKey(key);
        // Printer ports share the class.
        if (!name.startsWith(QLatin1String("COM"), Qt::CaseInsensitive) || seen.contains(name))
            continue;
        QString description = DeviceProperty(devices, device, SPDRP_FRIENDLYNAME);
        if (description.isEmpty()) description = DeviceProperty(devices, device, SPDRP_DEVICEDESC);
        seen.insert(name);
        ports << SystemSerialPort{name, ComLocation(name), description};
    }
    SetupDiDestroyDeviceInfoList(devices);
}

// Ports that only the serial device map names: virtual port drivers without a
// device-manager entry, and Wine's ports.
void AddDeviceMapPorts(QList<SystemSerialPort>& ports, QSet<QString>& seen) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return;
    for (DWORD i = 0;; ++i) {
        wchar_t valueName[256] = {};
        DWORD nameLength = 255;
        wchar_t data[64] = {};
        DWORD dataSize = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        const LONG result = RegEnumValueW(key, i, valueName, &nameLength, nullptr, &type,
                                          reinterpret_cast<BYTE*>(data), &dataSize);
        if (result == ERROR_NO_MORE_ITEMS) break;
        if (result != ERROR_SUCCESS || type != REG_SZ) continue;
        const QString name = QString::fromWCharArray(data).trimmed();
        if (name.isEmpty() || seen.contains(name)) continue;
        seen.insert(name);
        ports << SystemSerialPort{name, ComLocation(name), QString()};
    }
    RegCloseKey(key);
}

}  // namespace

QList<SystemSerialPort> SystemSerialPorts() {
    QList<SystemSerialPort> ports;
    QSet<QString> seen;
    AddDeviceManagerPorts(ports, seen);
    AddDeviceMapPorts(ports, seen);
    return ports;
}
