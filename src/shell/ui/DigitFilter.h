#pragma once

class QLineEdit;

// Puts the program's digit key filter on a numeric field: keys that
// FilterDigitKey turns into 0 are swallowed, the rest reach the field.
void InstallDigitFilter(QLineEdit* field);
