#pragma once

#include "device/DeviceCharset.h"  // DeviceLineInput, DeviceLineEdited

// How the wizard turns typed text into stored device lines and back. Every
// text the device prints is an upper-case Windows-1251 line of at most 24
// narrow or 12 wide characters behind its width flag.

#include <QString>

struct DeviceText;

constexpr int NarrowLineLength = 24;
constexpr int WideLineLength = 12;

// The most characters a line of that width holds.
int LineLengthLimit(bool wide);
// Empty when `text` fits a line of that width, else the editor's refusal, as
// the goods editor refuses a name that does not fit.
QString LineLengthProblem(const QString& text, bool wide);

// The characters of a stored line, without its width flag.
QString LineText(const DeviceText& line);
// True when the stored line's flag is "1".
bool IsWideLine(const DeviceText& line);
// Rebuilds a stored line: all 26 bytes zero, then "1" and at most 12
// characters of `text` when `wide`, "0" and at most 24 otherwise. The text is
// taken as it is (the edit fields have made what the user typed device text);
// a text equal to the stored one keeps the stored bytes.
void StoreLine(DeviceText& line, const QString& text, bool wide);

// An operator's password (5 bytes: up to 4 digits and a terminator).
QString PasswordText(const char* password);
// Keeps at most 4 characters of `text`; the rest of the 5 bytes are zero.
void StorePassword(char* password, const QString& text);
// A password the device would take: a whole number other than 0.
bool PasswordUsable(const char* password);
