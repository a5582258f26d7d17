#pragma once

class QLineEdit;

// Makes an edit field take device lines: whatever is typed, pasted or dropped
// becomes capitals that Windows-1251 holds, at most 24 characters.
void SetupDeviceLineEdit(QLineEdit* field);
