#pragma once

#include <QList>
#include <QStringList>

class QPagedPaintDevice;

// Lays out BSO form documents on paper as the device prints them: each form
// on a page of its own, its lines in a fixed-pitch font at about the device's
// own size (wide-print lines keep the spaces of the preview), shrunk only when
// a form would not fit the page. The printer and the PDF file both go through
// here. False when the device cannot be painted on (a printer that failed).
bool PrintFormPages(QPagedPaintDevice& device, const QList<QStringList>& forms);

class QPrinter;

// Why no form can be printed on this machine, as the user reads it: the
// program lacks the system's print support, or the system has no printer.
// Empty when a printer can be chosen. `printer` is one just made.
QString PrintingUnavailableReason(const QPrinter& printer);
