#pragma once

class QLineEdit;

// Makes an edit field take device lines: whatever is typed, pasted or dropped
// becomes capitals that Windows-1251 holds, at most maxLength characters.
void SetupDeviceLineEdit(QLineEdit* field, int maxLength = 24);
