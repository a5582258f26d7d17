#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

struct CommandDefinition;

// The arguments of zelvo-cli: the command's words, its arguments and the
// options, checked against what the command takes. Parsing never ends the
// program: wrong usage comes back as a message for exit code 2.
class CommandLine {
public:
    CommandLine();

    enum class Request { Run, Help, Version, Wrong };
    Request parse(const QStringList& arguments);

    // Wrong usage: what is wrong, in Russian.
    QString error() const { return error_; }
    // The help asked for: the command's, a group's ("goods --help") or the program's.
    QString helpText() const;
    // --json was given (also when the rest is wrong).
    bool json() const { return json_; }

    const CommandDefinition* command() const { return command_; }
    // The command's arguments after its words.
    const QStringList& arguments() const { return arguments_; }
    bool isSet(const QString& option) const { return parser_.isSet(option); }
    QString value(const QString& option) const { return parser_.value(option); }
    QStringList values(const QString& option) const { return parser_.values(option); }

    // The options given, as arguments again, but for those named in `except`.
    QStringList optionArguments(const QStringList& except) const;

    static QString programName();

private:
    QString commandHelp(const CommandDefinition& definition) const;
    QString programHelp(const QString& group) const;
    QCommandLineOption option(const QString& name) const;
    // --devices against the single-device options and --out.
    Request checkDevices();

    QList<QCommandLineOption> options_;
    QCommandLineParser parser_;
    const CommandDefinition* command_ = nullptr;
    QStringList words_;
    QStringList arguments_;
    QString error_;
    bool json_ = false;
};
