#include "cli/InnPassword.h"

#include <QFile>

#include "cli/CommandLine.h"
#include "cli/HiddenInput.h"
#include "cli/Interrupt.h"
#include "cli/TerminalInput.h"
#include "shell/RegularFile.h"

namespace {

// A password has a few digits; a longer first line is no password file.
constexpr qint64 MaxPasswordFileLine = 256;

InnPasswordSource Failed(InnPasswordSource::Outcome outcome, const QString& error) {
    InnPasswordSource source;
    source.outcome = outcome;
    source.error = error;
    return source;
}

InnPasswordSource Read(const QString& password) {
    InnPasswordSource source;
    source.password = password;
    return source;
}

InnPasswordSource FromFile(const QString& path) {
    if (IsStreamFile(path)) {
        const StreamRead stream =
            ReadStreamStart(path, int(MaxPasswordFileLine), InterruptRequested);
        if (stream.stopped) return Failed(InnPasswordSource::Outcome::Interrupted, {});
        if (!stream.opened)
            return Failed(
                InnPasswordSource::Outcome::FileFailed,
                QStringLiteral("Не удалось открыть файл пароля «%1»: %2.").arg(path, stream.error));
        const qsizetype end = stream.bytes.indexOf('\n');
        QByteArray line = end < 0 ? stream.bytes : stream.bytes.first(end);
        if (end < 0 && stream.bytes.size() >= MaxPasswordFileLine)
            return Failed(InnPasswordSource::Outcome::FileFailed,
                          QStringLiteral("В «%1» нет строки пароля в первых %2 байтах.")
                              .arg(path)
                              .arg(MaxPasswordFileLine));
        while (line.endsWith('\r')) line.chop(1);
        return Read(QString::fromLocal8Bit(line));
    }
    QFile file;
    if (!OpenRegularFile(file, path))
        return Failed(InnPasswordSource::Outcome::FileFailed,
                      QStringLiteral("Не удалось открыть файл пароля «%1».").arg(path));
    QByteArray line = file.readLine(MaxPasswordFileLine);
    while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
    return Read(QString::fromLocal8Bit(line));
}

}  // namespace

InnPasswordSource ReadInnPassword(const CommandLine& line) {
    const QString option = QStringLiteral("password");
    const QString fileOption = QStringLiteral("password-file");
    if (line.isSet(option) && line.isSet(fileOption))
        return Failed(InnPasswordSource::Outcome::Usage,
                      QStringLiteral("Пароль задаётся одним способом: --password или "
                                     "--password-file."));
    if (line.isSet(option)) return Read(line.value(option));
    if (line.isSet(fileOption)) return FromFile(line.value(fileOption));
    const std::optional<QString> typed =
        StandardInputIsTerminal() ? ReadHiddenLine(QStringLiteral("Пароль: "), InterruptRequested)
                                  : ReadInputLine();
    if (InterruptRequested()) return Failed(InnPasswordSource::Outcome::Interrupted, {});
    if (!typed)
        return Failed(InnPasswordSource::Outcome::Usage,
                      QStringLiteral("Не указан пароль: --password-file ФАЙЛ, ввод с терминала "
                                     "или строка на стандартном вводе."));
    return Read(*typed);
}
