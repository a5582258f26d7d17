#pragma once

// What several commands share: wrong usage, the connection options, the
// outcome of a transfer and the checks of the files they take.

#include <QString>

struct CliSession;

// Tells `text` and returns the exit code of wrong usage.
int UsageError(CliSession& session, const QString& text);

// Puts --port, --speed, --number and the time-outs into the program's port
// settings with the connection dialog's own conversion, and checks that the
// --log file can be created. ExitDone, or ExitUsage (ExitFileFailed for the
// log) after telling what is wrong.
int ApplyConnection(CliSession& session);

// The exit code after a transfer that returned `completed`: interrupted,
// failed (also when --keep-going went on past failures) or done.
int TransferExit(const CliSession& session, bool completed);

// A whole decimal number from `min` to `max`.
bool ParseNumber(const QString& text, int min, int max, int& value);

// An output file is checked before a transfer so that a long read does not end
// in a save that cannot work: its folder must exist and the name must not be a
// folder. Tells "Не удалось создать файл..." otherwise, after `what` when given.
bool CanCreateFile(CliSession& session, const QString& path, const QString& what = QString());

// With --log: saves the exchange log of the run and returns `exitCode`, or
// ExitFileFailed when the run was done but the log could not be saved.
int SaveLogIfAsked(CliSession& session, int exitCode);
