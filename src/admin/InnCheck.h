#pragma once

// Whether a taxpayer number (ИНН) can be a real one: 10 digits for an
// organisation, 12 for a person, with the check digits their places demand.
// The device takes any digits, and only once, so the user is told before.

#include <QString>

// Empty when `digits` is a well-formed ИНН; otherwise one line saying what is
// wrong with it. `digits` holds only digits.
QString InnProblem(const QString& digits);
