#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

class CliDialogs;
class TerminalProgress;

// What a command hands back on standard output: its lines of text or, with
// --json, one JSON document that also carries the exit code, every message,
// the failed items and, after Ctrl+C, how far the command got. The summary of
// failed items goes to standard error in both cases.
class CommandReport {
public:
    CommandReport() = default;
    void setJson(bool json) { json_ = json; }
    void setCommand(const QString& command) { command_ = command; }

    bool json() const { return json_; }
    // A field of the JSON document.
    void set(const QString& key, const QJsonValue& value) { fields_.insert(key, value); }
    // A line of the plain output.
    void line(const QString& text) { lines_.append(text); }

    // Writes the output and returns `exitCode`.
    int finish(int exitCode, const CliDialogs& dialogs, const TerminalProgress& progress);

private:
    bool json_ = false;
    QString command_;
    QJsonObject fields_;
    QStringList lines_;
};
