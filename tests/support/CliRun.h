#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

// zelvo-cli run as a process, the way a script runs it.
struct CliRun {
    int exitCode = -1;  // -1: it did not end by itself
    QByteArray out;
    QString err;

    // Standard output as the one JSON document of --json; empty when it is not one.
    QJsonObject json() const;
};

// Runs zelvo-cli with `arguments` and waits for it to end. Standard input
// holds `input` and then ends.
CliRun RunCli(const QStringList& arguments, int timeoutMs = 60000, const QByteArray& input = {});

// The arguments that reach a simulator's terminal.
QStringList PortArguments(const QString& portPath);
