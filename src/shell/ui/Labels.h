#pragma once

#include <QColor>
#include <QString>

class QLabel;
class QWidget;

// The maroon of the program's hints, warnings and page texts.
QColor MaroonColor();

// A label in the given colour (maroon unless told), bold when asked.
QLabel* ColouredLabel(const QString& text, QWidget* parent, bool bold = false,
                      const QColor& colour = MaroonColor());
