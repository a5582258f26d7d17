#include "shell/ui/Icons.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

QPixmap Canvas(const QSize& size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// The device seen from the front: a body, a paper slot with a receipt, keys.
void PaintDevice(QPainter& p, const QRectF& r) {
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body(r.left() + r.width() * 0.1, r.top() + r.height() * 0.35, r.width() * 0.8,
                      r.height() * 0.6);
    QLinearGradient shade(body.topLeft(), body.bottomLeft());
    shade.setColorAt(0, QColor(0x9a, 0xa8, 0xb8));
    shade.setColorAt(1, QColor(0x4a, 0x58, 0x6a));
    p.setPen(QPen(QColor(0x2a, 0x33, 0x40), 1));
    p.setBrush(shade);
    p.drawRoundedRect(body, 4, 4);
    const QRectF paper(r.left() + r.width() * 0.3, r.top() + r.height() * 0.05, r.width() * 0.4,
                       r.height() * 0.38);
    p.setBrush(Qt::white);
    p.drawRect(paper);
    p.setPen(QPen(QColor(0x80, 0x00, 0x00), 1));
    for (int i = 1; i <= 3; ++i) {
        const qreal y = paper.top() + paper.height() * i / 4.5;
        p.drawLine(QPointF(paper.left() + 3, y), QPointF(paper.right() - 3, y));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe8, 0xe8, 0xd0));
    const qreal key = body.width() / 9;
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 4; ++col)
            p.drawRect(QRectF(body.left() + key * (1 + 2 * col),
                              body.top() + body.height() * (0.45 + 0.25 * row), key,
                              body.height() * 0.15));
}

}  // namespace

QIcon DrawToolIcon(ToolIcon icon) {
    QPixmap pixmap = Canvas(QSize(16, 16));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (icon) {
        case ToolIcon::Settings: {  // a plug on its cable
            p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.5));
            p.drawLine(QPointF(2, 14), QPointF(7, 9));
            p.setBrush(QColor(0x20, 0x60, 0xc0));
            p.drawRoundedRect(QRectF(6, 3, 7, 7), 1.5, 1.5);
            p.drawLine(QPointF(9, 3), QPointF(9, 0.5));
            p.drawLine(QPointF(12, 3), QPointF(12, 0.5));
            break;
        }
        case ToolIcon::Wizard: {  // a wand with a star
            p.setPen(QPen(QColor(0x50, 0x30, 0x10), 2));
            p.drawLine(QPointF(2, 14), QPointF(10, 6));
            QPainterPath star;
            for (int i = 0; i < 10; ++i) {
                const qreal radius = (i % 2) ? 2.0 : 4.5;
                const qreal angle = -M_PI / 2 + i * M_PI / 5;
                const QPointF point(11.5 + radius * qCos(angle), 4.5 + radius * qSin(angle));
                if (i == 0)
                    star.moveTo(point);
                else
                    star.lineTo(point);
            }
            star.closeSubpath();
            p.setPen(QPen(QColor(0xa0, 0x70, 0x00), 0.8));
            p.setBrush(QColor(0xff, 0xd0, 0x20));
            p.drawPath(star);
            break;
        }
        case ToolIcon::Goods: {  // a barcode
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(1, 2, 14, 12));
            p.setBrush(Qt::black);
            const int widths[] = {1, 2, 1, 1, 2, 1, 2};
            qreal x = 2;
            for (int w : widths) {
                p.drawRect(QRectF(x, 3, w, 10));
                x += w + 1;
            }
            break;
        }
        case ToolIcon::Reports: {  // a sheet with lines
            p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(3, 1, 10, 14));
            for (int y = 4; y <= 12; y += 3) p.drawLine(QPointF(5, y), QPointF(11, y));
            break;
        }
    }
    return QIcon(pixmap);
}

QPixmap DrawSplashPicture(const QSize& size) {
    QPixmap pixmap = Canvas(size);
    QPainter p(&pixmap);
    PaintDevice(p, QRectF(size.width() * 0.05, size.height() * 0.15, size.height() * 0.7,
                          size.height() * 0.7));
    p.setPen(Qt::white);
    QFont title(QStringLiteral("DejaVu Sans"), 22, QFont::Bold);
    p.setFont(title);
    p.drawText(
        QRectF(size.width() * 0.45, size.height() * 0.2, size.width() * 0.55, size.height() * 0.35),
        Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Zelvo"));
    QFont subtitle(QStringLiteral("DejaVu Sans"), 9);
    p.setFont(subtitle);
    p.drawText(QRectF(size.width() * 0.45, size.height() * 0.55, size.width() * 0.52,
                      size.height() * 0.35),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               QStringLiteral("Настройка ВАЛДЕ ВК-12"));
    return pixmap;
}

QPixmap DrawDevicePicture(const QSize& size) {
    QPixmap pixmap = Canvas(size);
    QPainter p(&pixmap);
    PaintDevice(p, QRectF(QPointF(0, 0), size));
    return pixmap;
}

QPixmap DrawHourglassPicture(const QSize& size) {
    QPixmap pixmap = Canvas(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width(), h = size.height();
    p.setPen(QPen(QColor(0x50, 0x30, 0x10), 2));
    p.drawLine(QPointF(w * 0.2, h * 0.08), QPointF(w * 0.8, h * 0.08));
    p.drawLine(QPointF(w * 0.2, h * 0.92), QPointF(w * 0.8, h * 0.92));
    QPainterPath glass;
    glass.moveTo(w * 0.25, h * 0.1);
    glass.lineTo(w * 0.75, h * 0.1);
    glass.lineTo(w * 0.52, h * 0.5);
    glass.lineTo(w * 0.75, h * 0.9);
    glass.lineTo(w * 0.25, h * 0.9);
    glass.lineTo(w * 0.48, h * 0.5);
    glass.closeSubpath();
    p.setPen(QPen(QColor(0x20, 0x40, 0x80), 1.2));
    p.setBrush(QColor(0xd8, 0xe8, 0xff));
    p.drawPath(glass);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe0, 0xb0, 0x40));
    QPainterPath sand;
    sand.moveTo(w * 0.3, h * 0.88);
    sand.lineTo(w * 0.7, h * 0.88);
    sand.lineTo(w * 0.5, h * 0.65);
    sand.closeSubpath();
    p.drawPath(sand);
    return pixmap;
}
