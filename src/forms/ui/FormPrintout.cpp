#include "forms/ui/FormPrintout.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

namespace {

// Ten points of a fixed-pitch font make a character about 2.1 mm wide: a
// 24-character line is as wide on paper as on the device's receipt.
constexpr qreal DevicePointSize = 10;

QFont PrintFont(qreal pointSize) {
    // An outline font only: where "Courier" is a bitmap font (Windows'), a
    // printer's driver may not take it at all (Wine's PostScript driver fails
    // on it) and it scales badly where it is taken.
    const QString courier = QStringLiteral("Courier");
    const bool bitmap =
        QFontDatabase::families().contains(courier) && !QFontDatabase::isScalable(courier);
    QFont font(bitmap ? QStringLiteral("Courier New") : courier);
    font.setStyleHint(QFont::TypeWriter, QFont::PreferOutline);
    font.setFixedPitch(true);
    font.setPointSizeF(pointSize);
    return font;
}

// The largest size up to the device's own at which every line fits `area`.
QFont FittingFont(const QStringList& lines, const QSizeF& area, QPaintDevice* device) {
    QFont font = PrintFont(DevicePointSize);
    const QFontMetricsF metrics(font, device);
    qreal widest = 0;
    for (const QString& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line));
    const qreal height = metrics.lineSpacing() * qreal(lines.size());
    qreal scale = 1;
    if (widest > area.width()) scale = std::min(scale, area.width() / widest);
    if (height > area.height()) scale = std::min(scale, area.height() / height);
    if (scale < 1) font.setPointSizeF(DevicePointSize * scale);
    return font;
}

}  // namespace

bool PrintFormPages(QPagedPaintDevice& device, const QList<QStringList>& forms) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const QSizeF area(device.width(), device.height());
    for (int page = 0; page < forms.size(); ++page) {
        if (page > 0 && !device.newPage()) return false;
        const QStringList& lines = forms[page];
        painter.setFont(FittingFont(lines, area, &device));
        const QFontMetricsF metrics(painter.font(), &device);
        qreal baseline = metrics.ascent();
        for (const QString& line : lines) {
            painter.drawText(QPointF(0, baseline), line);
            baseline += metrics.lineSpacing();
        }
    }
    return painter.end();
}

QString PrintingUnavailableReason(const QPrinter& printer) {
    // Without the system's print support a printer can only write PDF, and
    // the print dialog would not open at all.
    if (printer.outputFormat() != QPrinter::NativeFormat)
        return QStringLiteral(
            "Печать недоступна: в программе нет поддержки печати этой системы. Форму можно "
            "сохранить в PDF.");
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        return QStringLiteral(
            "Не найден ни один принтер. Установите принтер или сохраните форму в PDF.");
    return {};
}
