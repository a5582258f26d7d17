#pragma once

// Every file the program loads goes through here, so that a name typed into an
// open dialog can never hold the program: a FIFO waits for a writer for ever
// when it is opened, and a device or a serial port would be touched.

#include <QString>

class QFile;

// Opens `path` (directly or through links) for reading when it is a regular
// file; anything else is never opened and gives false, as an unreadable or
// missing file does.
bool OpenRegularFile(QFile& file, const QString& path);

// Why OpenRegularFile refused or failed on `path`, for the user: looked up
// after the failure, in a few words ("файл не найден").
QString FileOpenFailureCause(const QString& path);

// A file message with the file's name and the cause on the lines after it:
// "Не удалось открыть файл...", then "«/home/a/x.cfg»: файл не найден."
QString FileMessage(const QString& message, const QString& path, const QString& cause);
