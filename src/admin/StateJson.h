#pragma once

// The device state as one JSON object, the same wherever a state is kept or
// reported: zelvo-cli's state command and the manifest of a device image.

#include <QJsonObject>

struct DeviceStateAnswer;

QJsonObject StateJson(const DeviceStateAnswer& answer);
