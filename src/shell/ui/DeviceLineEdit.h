#pragma once

class QLineEdit;

// Makes an edit field take device lines: whatever is typed, pasted or dropped
// becomes capitals the device prints, at most maxLength characters; a
// character it cannot print is not put in, and a warning names it, as it
// tells what did not fit. Text put into the field by the program (a stored
// line) is left as it is. Typed keys and pastes go in already made device
// text, so that the field's own Ctrl+Z and Ctrl+Y step through what it showed.
void SetupDeviceLineEdit(QLineEdit* field, int maxLength = 24);
// A new limit for what the user puts in next; the text the field holds stays.
void SetDeviceLineLimit(QLineEdit* field, int maxLength);
