#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One device of a devices file: the three fields of the connection dialog.
struct FleetDevice {
    QString port;
    QString speed;
    QString number;
    int line = 0;  // where it stands in the file, for messages
};

// The largest devices file read and the most devices it may list: a fleet is
// run at once, one process a device.
constexpr qint64 FleetFileMaxBytes = 256 * 1024;
constexpr int FleetMaxDevices = 128;

// Reads a devices file: `PORT;SPEED;NUMBER` a line, `#` starts a comment,
// blank lines are skipped and a first line whose speed is no number is a
// header. Every device or nothing: on any bad line `errors` lists each one
// ("строка 4: ...") and the list comes back empty.
QList<FleetDevice> ReadFleetDevices(const QString& path, QStringList& errors);
