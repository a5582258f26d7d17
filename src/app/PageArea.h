#pragma once

#include <QFrame>
#include <QSize>
#include <QVector>

// The main window's panel under the tool bar, where one page at a time shows.
// At its first size (the window's smallest) every page sits where it always
// has; beyond it, a page that holds data takes the extra room, and a page that
// does not stays its own size in the middle.
class PageArea : public QFrame {
    Q_OBJECT
public:
    enum class Fit { Grow, Centre };

    // `baseSize`: the panel's size at the window's smallest.
    explicit PageArea(QSize baseSize, QWidget* parent = nullptr);

    // Puts `page` (a child of this panel, at its smallest size) in place and
    // keeps it there as the panel's size changes.
    void addPage(QWidget* page, Fit fit);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Page {
        QWidget* widget;
        QSize size;
        Fit fit;
    };
    void place(const Page& page) const;

    QSize baseSize_;
    QVector<Page> pages_;
};
