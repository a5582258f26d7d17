#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "shell/TextOutput.h"

namespace {

HANDLE StreamHandle(std::FILE* stream) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
}

bool IsConsole(std::FILE* stream) {
    DWORD mode = 0;
    return GetConsoleMode(StreamHandle(stream), &mode) != 0;
}

bool g_barShown = false;  // the console understands the bar's escape sequences
TextEncoding g_encoding = TextEncoding::ConsoleDefault;

UINT CodePage() {
    switch (g_encoding) {
        case TextEncoding::Utf8:
            return CP_UTF8;
        case TextEncoding::Oem:
            return GetOEMCP();
        case TextEncoding::Ansi:
            return GetACP();
        case TextEncoding::ConsoleDefault:
            break;
    }
    // A program started from cmd or PowerShell shares its console even with
    // both streams redirected; one started by a service or a scheduler has none.
    const UINT console = GetConsoleWindow() ? GetConsoleOutputCP() : 0;
    return console != 0 ? console : CP_UTF8;
}

}  // namespace

void PrepareTextOutput() {
    // A window program started from a console has no standard streams of its
    // own unless they were redirected; its --help and --version answer in
    // the console it was started from.
    const HANDLE given = GetStdHandle(STD_OUTPUT_HANDLE);
    if ((given == nullptr || given == INVALID_HANDLE_VALUE) &&
        AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::FILE* ignored = std::freopen("CONOUT$", "w", stdout);
        ignored = std::freopen("CONOUT$", "w", stderr);
        (void)ignored;
    }
    // The C library would write CR LF for every line end.
    for (std::FILE* stream : {stdout, stderr})
        if (_fileno(stream) >= 0 && !IsConsole(stream)) _setmode(_fileno(stream), _O_BINARY);
    const HANDLE console = StreamHandle(stderr);
    DWORD mode = 0;
    if (!GetConsoleMode(console, &mode)) return;
    g_barShown = SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

bool IsTerminal(std::FILE* stream) {
    return IsConsole(stream) && (stream != stderr || g_barShown);
}

void SetTextEncoding(TextEncoding encoding) {
    g_encoding = encoding;
}

QByteArray EncodedText(const QString& text) {
    const UINT codePage = CodePage();
    if (codePage == CP_UTF8 || text.isEmpty()) return text.toUtf8();
    const std::wstring wide = text.toStdWString();
    // A character the code page lacks becomes the page's own default ("?").
    const int size = WideCharToMultiByte(codePage, 0, wide.data(), int(wide.size()), nullptr, 0,
                                         nullptr, nullptr);
    if (size <= 0) return text.toUtf8();
    QByteArray bytes(size, Qt::Uninitialized);
    WideCharToMultiByte(codePage, 0, wide.data(), int(wide.size()), bytes.data(), size, nullptr,
                        nullptr);
    return bytes;
}

void WriteText(std::FILE* stream, const QString& text) {
    if (IsConsole(stream)) {
        std::fflush(stream);
        const std::wstring wide = text.toStdWString();
        DWORD written = 0;
        WriteConsoleW(StreamHandle(stream), wide.data(), DWORD(wide.size()), &written, nullptr);
        return;
    }
    const QByteArray bytes = EncodedText(text);
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    std::fflush(stream);
}
