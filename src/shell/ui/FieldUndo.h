#pragma once

// The text fields' own undo, where the program holds what is typed to rules
// of its own (capitals the device prints, digits only).

class QLineEdit;

// Ctrl+Y in the field is its redo, as everywhere else in the program; the
// page's own Ctrl+Y does not reach past a focused field.
void AddFieldRedoKey(QLineEdit* field);
