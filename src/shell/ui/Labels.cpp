#include "shell/ui/Labels.h"

#include <QLabel>

QColor MaroonColor() {
    return QColor(0x80, 0x00, 0x00);
}

QLabel* ColouredLabel(const QString& text, QWidget* parent, bool bold, const QColor& colour) {
    auto* label = new QLabel(text, parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}
