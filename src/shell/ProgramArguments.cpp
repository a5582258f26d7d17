#include "shell/ProgramArguments.h"

std::optional<QString> ProgramArgumentsAnswer(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--version") || argument == QLatin1String("-v"))
            return QStringLiteral("zelvo %1\n").arg(QStringLiteral(ZELVO_VERSION));
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            return QStringLiteral(
                "Вызов: zelvo [ПАРАМЕТРЫ]\n\n"
                "Программа настройки АС по последовательной линии. Порт и скорость выбираются "
                "в «Настройки подключения»;\n«Эмулятор АС» (последний в списке портов) позволяет "
                "опробовать программу без АС. Функции АС\nбез окон, для сценариев: zelvo-cli "
                "--help.\n\n"
                "Параметры:\n"
                "  -h, --help     Эта справка.\n"
                "  -v, --version  Версия программы.\n");
        // What follows "--" is no option of the program's.
        if (argument == QLatin1String("--")) break;
    }
    return std::nullopt;
}
