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

void WriteText(std::FILE* stream, const QString& text) {
    if (IsConsole(stream)) {
        std::fflush(stream);
        const std::wstring wide = text.toStdWString();
        DWORD written = 0;
        WriteConsoleW(StreamHandle(stream), wide.data(), DWORD(wide.size()), &written, nullptr);
        return;
    }
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    std::fflush(stream);
}
