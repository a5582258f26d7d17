#include "shell/ColumnFit.h"

#include <algorithm>

QVector<int> FitColumnWidths(const QVector<int>& least, const QVector<int>& content, int available,
                             int fixedLeading) {
    QVector<int> widths(least.size());
    int total = 0;
    for (int i = 0; i < least.size(); ++i) {
        widths[i] = std::max({0, least[i], content.value(i)});
        total += widths[i];
    }
    const int first = std::clamp(fixedLeading, 0, int(widths.size()));
    int shared = 0;
    for (int i = first; i < widths.size(); ++i) shared += widths[i];
    const int spare = available - total;
    if (spare <= 0 || shared <= 0) return widths;
    // In proportion to what each already has; what rounding leaves goes to the last.
    int given = 0;
    for (int i = first; i < widths.size(); ++i) {
        const int share = int(qint64(spare) * widths[i] / shared);
        widths[i] += share;
        given += share;
    }
    widths.last() += spare - given;
    return widths;
}
