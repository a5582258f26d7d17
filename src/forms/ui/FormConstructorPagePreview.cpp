#include <QPushButton>
#include <QTextEdit>
#include <algorithm>
#include <utility>

#include "forms/FormPreview.h"
#include "forms/ui/FormConstructorLayout.h"
#include "forms/ui/FormConstructorPage.h"
#include "shell/ui/GridPage.h"

// The constructor page's preview: its text, and the scaling that gives the
// preview and the requisite grid the room beyond the smallest size.

namespace FormConstructorLayout {

QFont FixedPitchFont(int pixels) {
    QFont font(QStringLiteral("Courier"));
    font.setPixelSize(pixels);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

}  // namespace FormConstructorLayout

using namespace FormConstructorLayout;

// At the smallest size every control is where it was built. Beyond it the
// preview takes the extra height and half the extra width, the requisite grid
// the other half (its three line columns); the buttons follow the preview's
// right and bottom edges, the help button its left edge.
void FormConstructorPage::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    if (!preview) return;
    const int dx = std::max(0, width() - PageWidth);
    const int dy = std::max(0, height() - PageHeight);
    const int half = dx / 2;
    preview->setGeometry(PreviewLeft + half, 4, PreviewWidth + dx - half, PreviewLeastHeight + dy);
    // The printed form grows with its box rather than staying small in its corner.
    const QFont scaled = FixedPitchFont(PreviewFontPixels(preview->width(), preview->height()));
    if (scaled != preview->font()) {
        preview->setFont(scaled);
        preview->document()->setDefaultFont(scaled);
    }
    const std::pair<QPushButton*, QPoint> rightButtons[] = {{printButton, {456, 342}},
                                                            {pdfButton, {592, 342}},
                                                            {writeButton, {456, 374}},
                                                            {readButton, {592, 374}},
                                                            {exitButton, {644, 406}}};
    for (const auto& [button, at] : rightButtons) button->move(at + QPoint(dx, dy));
    helpButton->move(PreviewLeft + half, 406 + dy);
    RequisiteControls->resize(444 + half, RequisiteControls->height());
    grid->resize(RequisiteGridWidth + half, grid->height());
    const int lineExtra = half / 3;
    grid->setColumnWidths({20, 125 + lineExtra, 125 + lineExtra, 100 + half - 2 * lineExtra, 65});
}

void FormConstructorPage::renderPreview(int form) {
    preview->clear();
    const QStringList lines = FormPreviewLines(CurrentConfiguration(), form);
    // Plain text keeps the runs of spaces that line the columns up, and a
    // cliché line that happens to look like markup is shown as it is.
    if (!lines.isEmpty()) preview->setPlainText(lines.join(QLatin1Char('\n')));
}
