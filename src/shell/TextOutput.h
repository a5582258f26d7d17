#pragma once

#include <QByteArray>
#include <QString>
#include <cstdio>

#include "shell/TextEncoding.h"

// What the programs print on their standard streams, on either system. A
// Unix terminal, pipe or file gets UTF-8. On Windows a console gets the text
// through the console's own wide characters (readable whatever its code page:
// a Russian console shows 866 by default, the program's own text is 1251), and
// a pipe or a file gets the encoding SetTextEncoding chose (by default the
// console's output code page, UTF-8 without a console), with the same line
// ends as on Linux. PosixTextOutput.cpp and Win32TextOutput.cpp.

// Call once at start. On Windows: a window program started from a console
// writes to that console; pipes and files go into binary mode; the console is
// asked to understand the escape sequences of the progress bar.
void PrepareTextOutput();
// Whether the stream is a terminal that can show the progress bar.
bool IsTerminal(std::FILE* stream);
// The encoding of what goes into a pipe or a file from now on. A Unix system
// keeps its locale's (UTF-8) whatever is asked.
void SetTextEncoding(TextEncoding encoding);
// The bytes WriteText puts into a pipe or a file for `text`.
QByteArray EncodedText(const QString& text);
// Writes the text and flushes.
void WriteText(std::FILE* stream, const QString& text);
