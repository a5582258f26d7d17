#pragma once

class QLineEdit;

#include <QString>
#include <functional>
#include <optional>

// Puts the program's digit key filter on a numeric field: keys that
// FilterDigitKey turns into 0 are swallowed, the rest reach the field.
// `alsoAllowed` lets further characters through (the price's point). A
// decimal field takes a typed or pasted comma as a point, the decimal
// separator Russian keyboards and habits give, and takes a paste (Ctrl+V, the
// context menu) held to the same characters; the other fields ignore the
// paste keys, as their key filter always has.
enum class DigitField { Whole, Decimal };
void InstallDigitFilter(QLineEdit* field, const QString& alsoAllowed = QString(),
                        DigitField kind = DigitField::Whole);

// The field's paste (Ctrl+V, Shift+Insert, the context menu's "Вставить") goes
// through `convert` first and is limited after: the whole converted text is
// inserted as one step that Ctrl+Z takes back. A paste that `convert` refuses,
// or whose result does not fit the field, changes nothing and `refusal` is
// shown as a warning.
void InstallPasteConversion(QLineEdit* field,
                            std::function<std::optional<QString>(const QString&)> convert,
                            const QString& refusal);
