#include "shell/ui/ZelvoApplication.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "device/Protocol.h"
#include "shell/UserDialogs.h"
#include "shell/ui/Guarded.h"

ZelvoApplication::ZelvoApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The toolkit's own texts (file dialogs, their questions) in Russian, like the rest.
    auto* translator = new QTranslator(this);
    if (translator->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
}

void ReportException(const std::exception& error) {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    if (const auto* conversion = dynamic_cast<const ConversionError*>(&error))
        Dialogs().error(conversion->message());
    else
        Dialogs().error(QString::fromLocal8Bit(error.what()));
}

void ReportUnknownException() {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    Dialogs().error(QStringLiteral("Непредвиденная ошибка."));
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
