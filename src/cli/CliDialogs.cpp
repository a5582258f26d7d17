#include "cli/CliDialogs.h"

#include "cli/ErrorStream.h"

QString CliDialogs::Failure::text() const {
    // The device's error texts begin with a space for the lead they follow.
    return item.isEmpty() ? message : item + QStringLiteral(": ") + message.trimmed();
}

CliDialogs::CliDialogs(ErrorStream& stream) : stream_(stream) {}

bool CliDialogs::ask(const QString& caption, const QString& text, DialogIcon icon) {
    Q_UNUSED(icon);
    if (caption == CaptionConfirmation()) {
        if (!confirmation_) declined_ = text;
        return confirmation_;
    }
    // Any other question follows a failure that the loop did not name.
    addFailure({}, text);
    return keepGoing_;
}

void CliDialogs::inform(const QString& caption, const QString& text, DialogIcon icon) {
    Q_UNUSED(icon);
    if (caption == CaptionError()) {
        ++errors_;
        show(Kind::Error, text);
    } else if (caption == CaptionWarning()) {
        show(Kind::Warning, text);
    } else {
        show(Kind::Information, text);
    }
}

bool CliDialogs::continueAfterFailure(const QString& item, const QString& message) {
    addFailure(item, message);
    if (!keepGoing_ && !toldHowToGoOn_) {
        toldHowToGoOn_ = true;
        stream_.message(
            QStringLiteral("Остановлено на первой ошибке (--keep-going продолжает "
                           "после ошибок)."));
    }
    return keepGoing_;
}

void CliDialogs::failureEndedLoop(const QString& item, const QString& message) {
    addFailure(item, message);
}

void CliDialogs::show(Kind kind, const QString& text) {
    messages_.append({kind, text});
    stream_.message(text);
}

void CliDialogs::addFailure(const QString& item, const QString& message) {
    failures_.append({item, message});
    stream_.message(failures_.last().text());
}
