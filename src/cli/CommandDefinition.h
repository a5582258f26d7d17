#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct CliSession;

// One command of zelvo-cli: its words, its arguments, its help and the
// options it takes beyond --json and --help.
struct CommandDefinition {
    QString name;           // "goods write"
    QStringList arguments;  // "FILE"
    QString summary;        // the line in the program's help
    QString description;    // the command's own help
    QStringList options;    // option names
    int (*run)(CliSession& session);
};

// Every command, in the order the program's help lists them.
const QList<CommandDefinition>& CommandDefinitions();

// The option names of the connection to the device.
const QStringList& ConnectionOptionNames();
