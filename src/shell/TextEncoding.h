#pragma once

#include <QString>

// The encoding of the text the command line writes into a pipe or a file. A
// console always gets its own wide characters; this is for what a script or
// `find`, `more` and `type` read. Windows tools write such text in the
// console's output code page (866 in a Russian console), so the default
// follows it where there is a console and is UTF-8 where there is none.
enum class TextEncoding {
    ConsoleDefault,  // the console's output code page, UTF-8 without a console
    Utf8,
    Oem,   // the system's OEM code page (866 on a Russian Windows)
    Ansi,  // the system's ANSI code page (1251 on a Russian Windows)
};

// The environment variable that chooses when no --encoding is given.
QString TextEncodingVariable();  // "ZELVO_ENCODING"

// "utf-8" (or "utf8"), "oem", "ansi", in any case; false for anything else.
bool ParseTextEncoding(const QString& name, TextEncoding& encoding);

// The encoding a run uses: --json is UTF-8 whatever was asked (a JSON reader
// expects nothing else); then the option; then the environment variable. An
// option with a wrong name is an error (false, the message in `error`); a
// variable with a wrong name is passed over, as a stale setting of the
// environment must not stop every command.
bool ChooseTextEncoding(bool json, const QString* option, const QString& variable,
                        TextEncoding& encoding, QString& error);
