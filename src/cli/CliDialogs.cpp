#include "cli/CliDialogs.h"

#include "cli/ErrorStream.h"
#include "device/DeviceCharset.h"
#include "device/Protocol.h"

namespace {

// A command line has no settings dialog to tell why the port did not open:
// what of the link's reason did not fit the command's message follows it.
QString WithOpenReason(const QString& text) {
    if (!LastOpenFailed()) return text;
    const QString reason = LastPortOpenError();
    if (reason.isEmpty() || !text.contains(PortNotOpenedText({}).chopped(1))) return text;
    QString whole = text;
    for (const QString& line : reason.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (!whole.contains(line)) whole += QLatin1Char(' ') + line;
    return whole;
}

}  // namespace

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
        show(Kind::Error, WithOpenReason(text));
    } else if (caption == CaptionWarning()) {
        show(Kind::Warning, text);
    } else {
        show(Kind::Information, text);
    }
}

void CliDialogs::success(const QString& text) {
    if (failures_.isEmpty()) show(Kind::Information, text);
}

FailureAnswer CliDialogs::continueAfterFailure(const ItemFailure& failure) {
    addFailure(failure.item, failure.message);
    if (!keepGoing_ && !toldHowToGoOn_) {
        toldHowToGoOn_ = true;
        stream_.message(
            QStringLiteral("Остановлено на первой ошибке (--keep-going продолжает "
                           "после ошибок)."));
    }
    return keepGoing_ ? FailureAnswer::Continue : FailureAnswer::Stop;
}

void CliDialogs::transferSummary(const QString& text) {
    summary_ = text;
    error(text);
}

void CliDialogs::failureEndedLoop(const QString& item, const QString& message) {
    addFailure(item, message);
}

void CliDialogs::show(Kind kind, const QString& text) {
    messages_.append({kind, text});
    stream_.message(text);
}

void CliDialogs::errorWithDetails(const QString& text, const QString& details) {
    // No place under the message for the list: it takes the place of the
    // first lines the message repeats from it, so that each is said once.
    const QStringList listed = details.split(QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    const qsizetype first = lines.indexOf(listed.value(0));
    if (first < 0) {
        UserDialogs::errorWithDetails(text, details);
        return;
    }
    qsizetype end = first;
    while (end < lines.size() &&
           (listed.contains(lines[end]) || lines[end] == QStringLiteral("...")))
        ++end;
    lines.erase(lines.begin() + first, lines.begin() + end);
    for (qsizetype i = 0; i < listed.size(); ++i) lines.insert(first + i, listed[i]);
    error(lines.join(QLatin1Char('\n')));
}

void CliDialogs::addFailure(const QString& item, const QString& message) {
    failures_.append({item, WithOpenReason(message)});
    stream_.message(failures_.last().text());
}
