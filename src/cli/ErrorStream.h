#pragma once

#include <QString>

// Standard error, shared by the messages and the progress bar. The bar lives
// on the last line of a terminal and is redrawn in place; a message first
// takes it off its line, then the bar comes back under the message. When
// standard error is not a terminal no bar is ever drawn.
class ErrorStream {
public:
    ErrorStream();

    bool isTerminal() const { return terminal_; }
    // Whole lines of text.
    void message(const QString& text);
    void showBar(const QString& bar);
    void clearBar();

private:
    void write(const QString& text);

    bool terminal_ = false;
    QString bar_;
};
