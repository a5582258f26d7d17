#pragma once

#include <QByteArray>

// The answer of a device that takes every request: its command's response
// frame with no error and, for a parameter, the record flag set. Empty for a
// request that is not a frame of one of the five commands.
QByteArray AcceptingAnswer(const QByteArray& request);
