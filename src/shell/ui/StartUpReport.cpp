#include "shell/ui/StartUpReport.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "shell/ui/Guarded.h"

namespace {

int ReportStartUpFailure(const QString& text) {
    // The windows are gone, and with them whoever counted the cursors.
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    QMessageBox::critical(nullptr, QStringLiteral("Zelvo"), text);
    return 1;
}

}  // namespace

int RunReportingStartUpFailure(const std::function<int()>& run) {
    try {
        return run();
    } catch (const std::exception& error) {
        return ReportStartUpFailure(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        return ReportStartUpFailure(UnknownErrorText());
    }
}
