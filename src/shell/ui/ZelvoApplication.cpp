#include "shell/ui/ZelvoApplication.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "device/Protocol.h"
#include "shell/Progress.h"
#include "shell/UserDialogs.h"
#include "shell/ui/Guarded.h"

ZelvoApplication::ZelvoApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The toolkit's own texts (file dialogs, their questions) in Russian, like the rest.
    auto* translator = new QTranslator(this);
    if (translator->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
}

namespace {

// A failure that ends a transfer before its own code could take its
// indicators down. The busy cursor goes through the progress, which counts
// what it put on the cursor stack: emptying the stack behind its back left the
// next transfer without its busy cursor and its end popping a cursor it had
// never pushed.
void TakeDownIndicators() {
    Progress& progress = CurrentProgress();
    progress.end();
    progress.setBusyCursor(false);
    progress.hideWait();
}

}  // namespace

QString UnknownErrorText() {
    return QStringLiteral("Непредвиденная ошибка.");
}

void ReportException(const std::exception& error) {
    TakeDownIndicators();
    if (const auto* conversion = dynamic_cast<const ConversionError*>(&error))
        Dialogs().error(conversion->message());
    else
        Dialogs().error(QString::fromLocal8Bit(error.what()));
}

void ReportUnknownException() {
    TakeDownIndicators();
    Dialogs().error(UnknownErrorText());
}

bool ZelvoApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ReportException(error);
    } catch (...) {
        ReportUnknownException();
    }
    return false;
}
