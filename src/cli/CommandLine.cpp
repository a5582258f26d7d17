#include "cli/CommandLine.h"

#include <QCoreApplication>

#include "cli/CliCommands.h"
#include "cli/CommandDefinition.h"

namespace {

const QString HelpOption = QStringLiteral("help");
const QString VersionOption = QStringLiteral("version");
const QString JsonOption = QStringLiteral("json");
const QString EncodingOption = QStringLiteral("encoding");

// The ports the help offers, with an example this system's user knows from
// its own lists: after "Порт:" and after "Порт для опроса:".
#ifdef Q_OS_WIN
const QString PortChoices = QStringLiteral("COM1…COM100 (например, COM3)");
const QString SearchPortChoices = PortChoices;
#else
const QString PortChoices = QStringLiteral("COM1…COM100, путь к устройству (/dev/ttyUSB0)");
const QString SearchPortChoices =
    QStringLiteral("COM1…COM100 или путь к устройству (/dev/ttyUSB0)");
#endif

// Options every command takes.
bool IsGeneralOption(const QString& name) {
    static const QStringList general = {HelpOption,          QStringLiteral("h"), VersionOption,
                                        QStringLiteral("v"), JsonOption,          EncodingOption};
    return general.contains(name);
}

QString OptionSyntax(const QCommandLineOption& option) {
    QStringList names;
    for (const QString& name : option.names())
        names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    QString syntax = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty()) syntax += QLatin1Char(' ') + option.valueName();
    return syntax;
}

// Words of `text` in lines of at most `width` characters.
QStringList Wrapped(const QString& text, int width) {
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QString line;
        for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (!line.isEmpty() && line.size() + 1 + word.size() > width) {
                lines << line;
                line.clear();
            }
            line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
        }
        lines << line;
    }
    return lines;
}

constexpr int HelpWidth = 100;

// Two columns: the syntax, then the description under the same indent.
QString Columns(const QList<QPair<QString, QString>>& rows) {
    int width = 0;
    for (const auto& row : rows) width = std::max(width, int(row.first.size()));
    width = std::min(width, 34);
    const QString indent(width + 4, QLatin1Char(' '));
    QString text;
    for (const auto& row : rows) {
        QString left = QStringLiteral("  ") + row.first;
        if (row.first.size() > width)
            left += QLatin1Char('\n') + indent;
        else
            left = left.leftJustified(width + 4);
        const QStringList lines = Wrapped(row.second, HelpWidth - int(indent.size()));
        text += left + lines.join(QLatin1Char('\n') + indent) + QLatin1Char('\n');
    }
    return text;
}

QString Usage(const CommandDefinition& definition) {
    QString usage = definition.name;
    if (!definition.arguments.isEmpty())
        usage += QLatin1Char(' ') + definition.arguments.join(QLatin1Char(' '));
    return usage;
}

QString ExitCodesHelp() {
    return QStringLiteral(
        "Коды завершения: 0 выполнено; 1 АС отказала или не ответила; 2 неверный вызов, "
        "ничего не отправлено;\n3 файл не прочитан или не записан; 130 прервано (Ctrl+C).\n");
}

}  // namespace

QString CommandLine::programName() {
    return QStringLiteral("zelvo-cli");
}

CommandLine::CommandLine() {
    options_ = {
        QCommandLineOption(QStringLiteral("port"),
                           QStringLiteral("Порт: %1, "
                                          "emulator (эмулятор АС в самой программе) или порт "
                                          "в сети: tcp://ХОСТ:ПОРТ, rfc2217://ХОСТ:ПОРТ. "
                                          "По умолчанию COM1.")
                               .arg(PortChoices),
                           QStringLiteral("ПОРТ")),
        QCommandLineOption(QStringLiteral("speed"),
                           QStringLiteral("Скорость, бит/с: 2400, 4800, 9600, 19200, 38400, 57600 "
                                          "или 115200 (по умолчанию)."),
                           QStringLiteral("БИТ/С")),
        QCommandLineOption(QStringLiteral("number"),
                           QStringLiteral("Заводской номер АС (по умолчанию 0)."),
                           QStringLiteral("N")),
        QCommandLineOption(QStringLiteral("byte-timeout"),
                           QStringLiteral("Наибольшая пауза между байтами ответа, мс "
                                          "(по умолчанию 250; 0 — без предела)."),
                           QStringLiteral("МС")),
        QCommandLineOption(QStringLiteral("total-timeout"),
                           QStringLiteral("Наибольшее время ответа, мс (по умолчанию 2500)."),
                           QStringLiteral("МС")),
        QCommandLineOption(QStringLiteral("devices"),
                           QStringLiteral("Выполнить команду на всех АС списка сразу, вместо "
                                          "--port, --speed и --number: строка на АС, "
                                          "ПОРТ;СКОРОСТЬ;НОМЕР; # — комментарий."),
                           QStringLiteral("ФАЙЛ")),
        QCommandLineOption(QStringLiteral("log"),
                           QStringLiteral("Записать журнал обмена в файл (с --devices — в папку, "
                                          "файл НОМЕР.log на АС)."),
                           QStringLiteral("ФАЙЛ")),
        QCommandLineOption(QStringLiteral("out"),
                           QStringLiteral("С --devices: папка для файлов, по файлу на АС, "
                                          "названному заводским номером; FILE тогда можно не "
                                          "указывать, от него берётся только расширение."),
                           QStringLiteral("ПАПКА")),
        QCommandLineOption(QStringLiteral("keep-going"),
                           QStringLiteral("Не останавливаться на ошибке: продолжить со "
                                          "следующего элемента и перечислить ошибки в конце.")),
        QCommandLineOption(QStringLiteral("changed"),
                           QStringLiteral("Записать только то, что в АС иначе, чем в файле.")),
        QCommandLineOption(QStringLiteral("since"),
                           QStringLiteral("Файл базы товаров (.base или .csv), которую АС "
                                          "содержит сейчас."),
                           QStringLiteral("OLD")),
        QCommandLineOption(QStringLiteral("all"),
                           QStringLiteral("Записать образ целиком, не сравнивая с АС.")),
        QCommandLineOption(QStringLiteral("yes"),
                           QStringLiteral("Подтвердить необратимое действие.")),
        QCommandLineOption(QStringLiteral("inn"), QStringLiteral("ИНН: до 12 цифр."),
                           QStringLiteral("N")),
        QCommandLineOption(QStringLiteral("password"),
                           QStringLiteral("Пароль: до 5 цифр. Внимание: пароль в командной "
                                          "строке видят все пользователи компьютера (список "
                                          "процессов) и сохраняет история оболочки; лучше "
                                          "--password-file или ввод пароля без этих параметров."),
                           QStringLiteral("N")),
        QCommandLineOption(QStringLiteral("password-file"),
                           QStringLiteral("Файл, первая строка которого — пароль. Без --password "
                                          "и --password-file пароль вводится с терминала (не "
                                          "отображается) или читается строкой со стандартного "
                                          "ввода."),
                           QStringLiteral("ФАЙЛ")),
        QCommandLineOption(QStringLiteral("date"),
                           QStringLiteral("Дата ГГГГ-ММ-ДД, от 2000-01-01 до 2255-12-31."),
                           QStringLiteral("ДАТА")),
        QCommandLineOption(QStringLiteral("group"), QStringLiteral("Группа: 1, 2 или 3."),
                           QStringLiteral("N")),
        QCommandLineOption(JsonOption,
                           QStringLiteral("Вывести один документ JSON на стандартный вывод.")),
        QCommandLineOption(EncodingOption,
                           QStringLiteral("Кодировка текста в канал или файл: utf-8, oem или "
                                          "ansi (в Windows по умолчанию кодовая страница "
                                          "консоли, без консоли utf-8; также переменная "
                                          "окружения ZELVO_ENCODING). JSON всегда в utf-8."),
                           QStringLiteral("КОДИРОВКА")),
        QCommandLineOption({QStringLiteral("h"), HelpOption},
                           QStringLiteral("Справка по программе или по команде.")),
        QCommandLineOption({QStringLiteral("v"), VersionOption},
                           QStringLiteral("Версия программы.")),
    };
    parser_.addOptions(options_);
    parser_.addPositionalArgument(QStringLiteral("command"), QString());
}

QCommandLineOption CommandLine::option(const QString& name) const {
    for (const QCommandLineOption& option : options_)
        if (option.names().contains(name)) return option;
    return QCommandLineOption(name);
}

CommandLine::Request CommandLine::parse(const QStringList& arguments) {
    json_ = arguments.mid(1).contains(QStringLiteral("--json"));
    if (!parser_.parse(arguments)) {
        error_ = parser_.errorText();
        return Request::Wrong;
    }
    if (parser_.isSet(VersionOption)) return Request::Version;

    QStringList words = parser_.positionalArguments();
    bool help = parser_.isSet(HelpOption);
    // "help goods write" is "goods write --help".
    if (!words.isEmpty() && words.first() == QLatin1String("help")) {
        help = true;
        words.removeFirst();
    }
    int matched = 0;
    for (const CommandDefinition& definition : CommandDefinitions()) {
        const QStringList name = definition.name.split(QLatin1Char(' '));
        if (name.size() > matched && words.mid(0, int(name.size())) == name) {
            command_ = &definition;
            matched = int(name.size());
        }
    }
    words_ = words;
    if (help) return Request::Help;

    if (words.isEmpty()) {
        error_ = QStringLiteral("Не указана команда.");
        return Request::Wrong;
    }
    if (!command_) {
        QStringList next;
        for (const CommandDefinition& definition : CommandDefinitions())
            if (definition.name.startsWith(words.first() + QLatin1Char(' ')))
                next << definition.name.section(QLatin1Char(' '), 1, 1);
        if (next.isEmpty())
            error_ = QStringLiteral("Неизвестная команда «%1».").arg(words.first());
        else
            error_ = QStringLiteral("После «%1» нужно одно из: %2.")
                         .arg(words.first(), next.join(QStringLiteral(", ")));
        return Request::Wrong;
    }
    arguments_ = words.mid(matched);
    const bool out = parser_.isSet(QStringLiteral("out"));
    // With --out the files are named by the devices; a FILE given says the format.
    const bool fileOptional = out && arguments_.isEmpty() && command_->arguments.size() == 1;
    if (arguments_.size() != command_->arguments.size() && !fileOptional) {
        error_ = command_->arguments.isEmpty()
                     ? QStringLiteral("Команда «%1» не принимает аргументов.").arg(command_->name)
                     : QStringLiteral("Вызов команды: %1 %2.").arg(programName(), Usage(*command_));
        return Request::Wrong;
    }
    const QStringList given = parser_.optionNames();
    for (const QString& name : given) {
        if (IsGeneralOption(name) || command_->options.contains(name)) continue;
        error_ =
            QStringLiteral("Параметр --%1 не относится к команде «%2».").arg(name, command_->name);
        return Request::Wrong;
    }
    return checkDevices();
}

CommandLine::Request CommandLine::checkDevices() {
    const bool devices = parser_.isSet(QStringLiteral("devices"));
    if (devices) {
        for (const QString& name :
             {QStringLiteral("port"), QStringLiteral("speed"), QStringLiteral("number")}) {
            if (!parser_.isSet(name)) continue;
            error_ = QStringLiteral(
                "--devices заменяет --port, --speed и --number: укажите "
                "либо список АС, либо одну АС.");
            return Request::Wrong;
        }
    }
    const bool out = parser_.isSet(QStringLiteral("out"));
    if (out && !devices) {
        error_ = QStringLiteral("--out — только вместе с --devices.");
        return Request::Wrong;
    }
    // Every device would save into the one FILE.
    if (devices && !out && command_->options.contains(QStringLiteral("out"))) {
        error_ = QStringLiteral(
                     "С --devices команда «%1» сохраняет файл каждой АС в папку "
                     "--out ПАПКА.")
                     .arg(command_->name);
        return Request::Wrong;
    }
    return Request::Run;
}

QStringList CommandLine::optionArguments(const QStringList& except) const {
    QStringList arguments;
    QStringList seen;
    for (const QString& name : parser_.optionNames()) {
        if (except.contains(name) || seen.contains(name)) continue;
        seen << name;
        const QCommandLineOption o = option(name);
        const QString flag = (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        if (o.valueName().isEmpty()) {
            arguments << flag;
            continue;
        }
        for (const QString& value : parser_.values(name)) arguments << flag << value;
    }
    return arguments;
}

QString CommandLine::helpText() const {
    if (command_) return commandHelp(*command_);
    return programHelp(words_.value(0));
}

QString CommandLine::commandHelp(const CommandDefinition& definition) const {
    QString text = QStringLiteral("Вызов: %1 %2 [ПАРАМЕТРЫ]\n\n%3\n")
                       .arg(programName(), Usage(definition),
                            Wrapped(definition.description, HelpWidth).join(QLatin1Char('\n')));
    QList<QPair<QString, QString>> rows;
    for (const QString& name : definition.options) {
        const QCommandLineOption o = option(name);
        // The search has no port of its own to fall back on: without --port it
        // asks every port of the system.
        const bool searchPort = name == QLatin1String("port") && definition.run == RunFind;
        rows.append({OptionSyntax(o), searchPort
                                          ? QStringLiteral("Порт для опроса: %1; можно несколько "
                                                           "раз. Без --port опрашиваются все "
                                                           "последовательные порты системы.")
                                                .arg(SearchPortChoices)
                                          : o.description()});
    }
    for (const QString& name : {JsonOption, EncodingOption, HelpOption}) {
        const QCommandLineOption o = option(name);
        rows.append({OptionSyntax(o), o.description()});
    }
    text += QStringLiteral("\nПараметры:\n") + Columns(rows);
    return text + QLatin1Char('\n') + ExitCodesHelp();
}

QString CommandLine::programHelp(const QString& group) const {
    QList<QPair<QString, QString>> commands;
    for (const CommandDefinition& definition : CommandDefinitions()) {
        if (!group.isEmpty() && !definition.name.startsWith(group + QLatin1Char(' '))) continue;
        commands.append({Usage(definition), definition.summary});
    }
    if (commands.isEmpty()) return programHelp(QString());
    QList<QPair<QString, QString>> connection;
    for (const QString& name : ConnectionOptionNames()) {
        const QCommandLineOption o = option(name);
        connection.append({OptionSyntax(o), o.description()});
    }
    QList<QPair<QString, QString>> general;
    for (const QString& name : {JsonOption, EncodingOption, HelpOption, VersionOption}) {
        const QCommandLineOption o = option(name);
        general.append({OptionSyntax(o), o.description()});
    }
    return QStringLiteral(
               "Вызов: %1 КОМАНДА [АРГУМЕНТЫ] [ПАРАМЕТРЫ]\n\n"
               "Функции АС без окна: для сценариев и для программирования многих "
               "АС подряд.\nСообщения — на стандартный поток ошибок, результат — "
               "на стандартный вывод.\n\nКоманды:\n")
               .arg(programName()) +
           Columns(commands) + QStringLiteral("\nПодключение к АС:\n") + Columns(connection) +
           QStringLiteral("\nОбщие параметры:\n") + Columns(general) + QLatin1Char('\n') +
           ExitCodesHelp() +
           QStringLiteral("Справка по команде: %1 КОМАНДА --help\n").arg(programName());
}
