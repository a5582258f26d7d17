#include <QSerialPortInfo>

#include "device/links/SystemSerialPorts.h"

QList<SystemSerialPort> SystemSerialPorts() {
    QList<SystemSerialPort> ports;
    const auto infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : infos)
        ports << SystemSerialPort{info.portName(), info.systemLocation(), info.description()};
    return ports;
}
