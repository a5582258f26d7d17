#pragma once

// What many tests need around the device: texts in both character sets, a
// configuration with every line marked, and the in-process emulated device
// behind the emulator port entry.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstring>

#include "config/DeviceConfiguration.h"
#include "device/DeviceCharset.h"
#include "device/PortNames.h"
#include "device/PortSettings.h"
#include "device/Protocol.h"
#include "emulator/DeviceEmulator.h"
#include "emulator/EmulatorLink.h"

inline QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

inline QStringList L(std::initializer_list<const char*> lines) {
    QStringList list;
    for (const char* line : lines) list << U(line);
    return list;
}

// A line as the device stores it: flag and text in the device character set.
inline QByteArray DeviceLine(const char* utf8) {
    const QByteArray pc = ToCp1251(U(utf8));
    QByteArray device(pc.size() + 1, '\0');
    EncodeDeviceText(pc.constData(), device.data());
    return device.left(pc.size());
}

// The whole stored line, flag included, as text.
inline QString Stored(const DeviceText& text) {
    return FromCp1251(FieldText(text.bytes, int(sizeof text.bytes)));
}

inline void SetStored(DeviceText& text, const char* utf8) {
    CopyToField(text.bytes, int(sizeof text.bytes), ToCp1251(U(utf8)));
}

inline void SetPassword(OperatorRecord& op, const char* digits) {
    CopyToField(op.password, int(sizeof op.password), QByteArray(digits));
}

// Every line of the configuration marked, so that a test sees what changed.
inline void MarkConfiguration(DeviceConfiguration& config) {
    std::memset(&config, 0, sizeof config);
    ResetFormTable(config);
    ResetConfiguration(config);
    for (auto& op : config.operators) {
        SetStored(op.position, "0СТАРОЕ");
        SetStored(op.name, "0СТАРОЕ");
        SetPassword(op, "99");
    }
    SetStored(config.documentName, "0СТАРОЕ");
    for (auto* records : {config.services, config.requisites})
        for (int n = 0; n < 8; ++n)
            for (auto& line : records[n].lines) SetStored(line, "0СТАРОЕ");
    for (auto& cliche : config.cliches)
        for (auto& line : cliche.lines) SetStored(line, "0СТАРОЕ");
}

// The program talks to a fresh in-process device.
inline DeviceEmulator& UseEmulator() {
    RegisterInProcessEmulator();
    SetLinkOverride(nullptr);
    PortSettings& settings = CurrentPortSettings();
    settings.PortName = EmulatorPortName();
    settings.BaudRate = 115200;
    settings.ByteTimeout = 250;
    settings.TotalTimeout = 2500;
    settings.MachineNumber = "0";
    settings.Applied = true;
    InProcessEmulatorLink().setOpenFails(false);
    InProcessEmulatorLink().clearLine();
    InProcessEmulator().reset();
    ForgetLineStates();
    return InProcessEmulator();
}
