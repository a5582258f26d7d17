#pragma once

class QLineEdit;

#include <QString>

// Puts the program's digit key filter on a numeric field: keys that
// FilterDigitKey turns into 0 are swallowed, the rest reach the field.
// `alsoAllowed` lets further characters through (the price's point). With
// `commaAsPoint` a typed or pasted comma goes in as a point, the decimal
// separator Russian keyboards and habits give.
void InstallDigitFilter(QLineEdit* field, const QString& alsoAllowed = QString(),
                        bool commaAsPoint = false);
