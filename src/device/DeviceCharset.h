#pragma once

// The device character set and the one conversion between the user
// interface's Unicode and Windows-1251.

#include <QByteArray>
#include <QString>

// PC (Windows-1251) to device: А–Я to the device's letters, other bytes of
// 0x80 and above to a space. Zeroes the destination over its current text
// first; writes no terminator.
void EncodeDeviceText(const char* source, char* destination);
// Device to PC. Does not clear the destination and writes no terminator; a
// device byte 0x80 becomes zero and so ends the text.
void DecodeDeviceText(const char* source, char* destination);

// Windows-1251 bytes to Unicode and back. Characters that Windows-1251 cannot
// hold become '?', one for each. The system does the conversion: Qt 5 Compat's
// codec on Linux, the code-page functions of Windows there
// (Qt5CompatCp1251.cpp, Win32Cp1251.cpp).
QString FromCp1251(const QByteArray& bytes);
QString FromCp1251(const char* zeroTerminated);
QByteArray ToCp1251(const QString& text);

// Upper-cases text the way the line editors do, including Ё → Ё and ё → Ё.
QString DeviceUpper(const QString& text);

// Whether the device prints `c` as it is: the Latin capitals, the digits, the
// ASCII signs except the six whose places the Cyrillic capitals take
// (^ ` { | } ~), and А–Я.
bool DevicePrints(QChar c);

// What an editor keeps of typed or pasted text: letters as capitals, Ё as Е
// (as receipts print it), and control characters as spaces. Every other
// character the device cannot print is left out; `refused`, when given,
// receives each of them once, as typed.
QString DeviceLineInput(const QString& typed, QString* refused = nullptr);

// The user's message for characters DeviceLineInput left out.
QString RefusedCharactersMessage(const QString& refused);
// The same as a reason in a list of faults (a CSV line and column).
QString RefusedCharactersReason(const QString& refused);

// An edit turned `before` into `after`, leaving the cursor at `cursor`: only
// what the user put in (the characters in front of the cursor that `before`
// did not hold there) goes through DeviceLineInput; the rest, a name loaded
// in small letters say, stays as it was. `cursor` moves with the kept text.
QString DeviceLineEdited(const QString& before, const QString& after, int& cursor,
                         QString* refused = nullptr);

// Holds an edited line to `maxLength` characters: what the edit put in front
// of `cursor` loses its end, so that a paste keeps its beginning and the text
// after the cursor stays. `cursor` moves with it.
QString LineCutToLength(const QString& text, int maxLength, int& cursor);
// The user's message for an edit that LineCutToLength shortened.
QString LineCutMessage(int maxLength, int cut);

// Copies a zero-terminated text into a fixed field of `size` bytes; the field
// is zero-filled after it and never overrun (the last byte stays zero when the
// text is as long as the field).
void CopyToField(char* field, int size, const QByteArray& text);
// The text of a fixed field up to its first zero, never past `size` bytes.
QByteArray FieldText(const char* field, int size);
