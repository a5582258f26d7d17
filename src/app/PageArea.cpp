#include "app/PageArea.h"

#include <QResizeEvent>

namespace {

// Where the pages have always stood in the panel.
constexpr QPoint PageOrigin(5, 5);

}  // namespace

PageArea::PageArea(QSize baseSize, QWidget* parent) : QFrame(parent), baseSize_(baseSize) {}

void PageArea::addPage(QWidget* page, Fit fit) {
    pages_.append({page, page->size(), fit});
    place(pages_.last());
}

void PageArea::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    for (const Page& page : pages_) place(page);
}

void PageArea::place(const Page& page) const {
    const QSize extra = (size() - baseSize_).expandedTo(QSize(0, 0));
    if (page.fit == Fit::Grow) {
        page.widget->setGeometry(QRect(PageOrigin, page.size + extra));
    } else {
        page.widget->setGeometry(
            QRect(PageOrigin + QPoint(extra.width() / 2, extra.height() / 2), page.size));
    }
}
