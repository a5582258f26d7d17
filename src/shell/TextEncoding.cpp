#include "shell/TextEncoding.h"

QString TextEncodingVariable() {
    return QStringLiteral("ZELVO_ENCODING");
}

bool ParseTextEncoding(const QString& name, TextEncoding& encoding) {
    const QString key = name.trimmed().toLower();
    if (key == QLatin1String("utf-8") || key == QLatin1String("utf8")) {
        encoding = TextEncoding::Utf8;
    } else if (key == QLatin1String("oem")) {
        encoding = TextEncoding::Oem;
    } else if (key == QLatin1String("ansi")) {
        encoding = TextEncoding::Ansi;
    } else {
        return false;
    }
    return true;
}

bool ChooseTextEncoding(bool json, const QString* option, const QString& variable,
                        TextEncoding& encoding, QString& error) {
    encoding = TextEncoding::ConsoleDefault;
    if (option && !ParseTextEncoding(*option, encoding)) {
        encoding = json ? TextEncoding::Utf8 : TextEncoding::ConsoleDefault;
        error = QStringLiteral("Кодировка «%1» не поддерживается; можно: utf-8, oem, ansi.")
                    .arg(*option);
        return false;
    }
    if (!option && !variable.trimmed().isEmpty() && !ParseTextEncoding(variable, encoding))
        encoding = TextEncoding::ConsoleDefault;
    if (json) encoding = TextEncoding::Utf8;
    return true;
}
