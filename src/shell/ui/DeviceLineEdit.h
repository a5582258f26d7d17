#pragma once

class QLineEdit;

// Makes an edit field take device lines: whatever is typed, pasted or dropped
// becomes capitals that Windows-1251 holds, at most maxLength characters. Text
// put into the field by the program (a stored line) is left as it is.
void SetupDeviceLineEdit(QLineEdit* field, int maxLength = 24);
