#include <QBuffer>
#include <QFileDialog>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextEdit>
#include <memory>

#include "forms/ui/FormConstructorPage.h"
#include "forms/ui/FormPrintout.h"
#include "shell/SafeSave.h"
#include "shell/UserDialogs.h"
#include "shell/ui/FileDialogs.h"

// The constructor page's printing of the previewed form and its saving as PDF.

namespace {

// The file name dialog of "Сохранить в PDF...", offering the form's number as the name.
std::unique_ptr<QFileDialog> CreatePdfDialog(QWidget* parent, int form) {
    auto dialog = std::make_unique<QFileDialog>(parent, QStringLiteral("Сохранить в PDF"));
    StartInFolder(*dialog, FileKind::FormPdf);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setNameFilter(QStringLiteral("Документы PDF (*.pdf)"));
    dialog->setDefaultSuffix(QStringLiteral("pdf"));
    dialog->selectFile(QStringLiteral("Форма %1.pdf").arg(form));
    return dialog;
}

}  // namespace

QStringList FormConstructorPage::printableLines() {
    const QString text = preview->toPlainText();
    if (text.isEmpty()) {
        Dialogs().warning(QStringLiteral("Не выбрана форма для печати."));
        return {};
    }
    return text.split(QLatin1Char('\n'));
}

void FormConstructorPage::printClicked() {
    const QStringList lines = printableLines();
    if (lines.isEmpty()) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Форма %1").arg(selectedForm()));
    const QString unavailable = PrintingUnavailableReason(printer);
    if (!unavailable.isEmpty()) {
        Dialogs().error(unavailable);
        return;
    }
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    if (!PrintFormPages(printer, {lines}))
        Dialogs().error(QStringLiteral("Не удалось напечатать форму."));
}

void FormConstructorPage::savePdfClicked() {
    const QStringList lines = printableLines();
    if (lines.isEmpty()) return;
    const std::unique_ptr<QFileDialog> dialog = CreatePdfDialog(this, selectedForm());
    const QString path = RunFileDialog(*dialog, FileKind::FormPdf);
    if (path.isEmpty()) return;
    writePdf(path, lines);
}

void FormConstructorPage::writePdf(const QString& path, const QStringList& lines) {
    QBuffer document;
    document.open(QIODevice::WriteOnly);
    bool made = false;
    {
        QPdfWriter pdf(&document);
        pdf.setTitle(QStringLiteral("Форма %1").arg(selectedForm()));
        pdf.setCreator(QStringLiteral("Zelvo"));
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(20, 15, 15, 15), QPageLayout::Millimeter);
        made = PrintFormPages(pdf, {lines});
    }
    if (!made || !SaveFileSafely(path, document.data()))
        Dialogs().error(QStringLiteral("Не удалось создать файл..."));
}
