#pragma once

// Column widths of a grid that grows with its window: no column is narrower
// than its text needs or than its width at the smallest window, and the room
// the window has beyond that goes to the columns that hold text.

#include <QVector>

// `least`: each column's width at the smallest window; `content`: what its
// header and cells need (a missing entry needs nothing); `available`: the
// grid's inside width; `fixedLeading`: columns at the start (a row number)
// that take no share of the spare room. When the columns need more than
// `available`, each keeps what it needs and the grid scrolls.
QVector<int> FitColumnWidths(const QVector<int>& least, const QVector<int>& content, int available,
                             int fixedLeading = 1);
