#include "shell/VersionInfo.h"

#ifdef Q_OS_WIN
#include <windows.h>

#include <QCoreApplication>
#include <vector>

std::optional<VersionInfo> ProgramVersionInfo() {
    const std::wstring path = QCoreApplication::applicationFilePath().toStdWString();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    if (size == 0) return std::nullopt;
    std::vector<char> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return std::nullopt;
    struct Translation {
        WORD language, codePage;
    }* table = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&table), &length) ||
        length < sizeof(Translation))
        return std::nullopt;
    const QString key = QStringLiteral("%1%2")
                            .arg(table[0].language, 4, 16, QLatin1Char('0'))
                            .arg(table[0].codePage, 4, 16, QLatin1Char('0'))
                            .toUpper();
    auto value = [&](const char* name) {
        const std::wstring query =
            (QStringLiteral("\\StringFileInfo\\") + key + QLatin1Char('\\') + QLatin1String(name))
                .toStdWString();
        wchar_t* text = nullptr;
        UINT chars = 0;
        if (!VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void**>(&text), &chars))
            return QString();
        return QString::fromWCharArray(text, chars > 0 ? int(chars) - 1 : 0);
    };
    return VersionInfo{value("ProductName"), value("FileVersion"), value("CompanyName")};
}
#else
std::optional<VersionInfo> ProgramVersionInfo() {
    return VersionInfo{QStringLiteral(ZELVO_PRODUCT_NAME), QStringLiteral(ZELVO_FILE_VERSION),
                       QStringLiteral(ZELVO_COMPANY_NAME)};
}
#endif
