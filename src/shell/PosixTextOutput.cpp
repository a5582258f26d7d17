#include <unistd.h>

#include "shell/TextOutput.h"

void PrepareTextOutput() {}

bool IsTerminal(std::FILE* stream) {
    return isatty(fileno(stream)) != 0;
}

void SetTextEncoding(TextEncoding) {}

QByteArray EncodedText(const QString& text) {
    return text.toLocal8Bit();
}

void WriteText(std::FILE* stream, const QString& text) {
    const QByteArray bytes = EncodedText(text);
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    std::fflush(stream);
}
