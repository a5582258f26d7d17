#include "wizard/DeviceLine.h"

#include <cstring>

#include "config/DeviceConfiguration.h"
#include "config/ParameterCatalogue.h"
#include "device/DeviceCharset.h"

namespace {
constexpr int PasswordSize = 5;
}

int LineLengthLimit(bool wide) {
    return wide ? WideLineLength : NarrowLineLength;
}

QString LineLengthProblem(const QString& text, bool wide) {
    if (text.size() <= LineLengthLimit(wide)) return {};
    return wide ? QStringLiteral("Строка широким шрифтом длиннее %1 символов!").arg(WideLineLength)
                : QStringLiteral("Строка длиннее %1 символов!").arg(NarrowLineLength);
}

QString LineText(const DeviceText& line) {
    return FromCp1251(FieldText(line.bytes + 1, int(sizeof line.bytes) - 1));
}

bool IsWideLine(const DeviceText& line) {
    return line.bytes[0] == '1';
}

void StoreLine(DeviceText& line, const QString& text, bool wide) {
    // The text the store already holds goes back byte for byte: small letters
    // loaded from a file, a byte Windows-1251 has no character for and what
    // follows a zero inside the line all stay.
    const QByteArray characters = text == LineText(line)
                                      ? QByteArray(line.bytes + 1, int(sizeof line.bytes) - 2)
                                      : ToCp1251(text);
    const QByteArray bytes = characters.left(wide ? WideLineLength : NarrowLineLength);
    std::memset(line.bytes, 0, sizeof line.bytes);
    line.bytes[0] = wide ? '1' : '0';
    std::memcpy(line.bytes + 1, bytes.constData(), std::size_t(bytes.size()));
}

QString PasswordText(const char* password) {
    return FromCp1251(FieldText(password, PasswordSize));
}

void StorePassword(char* password, const QString& text) {
    CopyToField(password, PasswordSize, ToCp1251(text).left(PasswordDigits));
}

bool PasswordUsable(const char* password) {
    const QByteArray digits = FieldText(password, PasswordSize);
    bool ok = false;
    const int value = digits.toInt(&ok, 10);
    return ok && value != 0;
}
