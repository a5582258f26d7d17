#include "wizard/ui/WizardPage.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "config/ui/ConfigurationUndo.h"
#include "shell/UserDialogs.h"
#include "shell/ui/Guarded.h"
#include "shell/ui/Labels.h"
#include "shell/ui/UndoSteps.h"
#include "wizard/ui/WizardWindow.h"

namespace {
constexpr int ButtonWidth = 80;
constexpr int MinimumLineStep = 12;
constexpr int MinimumTextPixels = 8;
}  // namespace

QColor PageTextColor() {
    return MaroonColor();
}

QFont PageTextFont() {
    QFont font;
    font.setPixelSize(11);
    return font;
}

QFont CourierFont(int pixels) {
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(pixels);
    return font;
}

WizardPage::WizardPage(WizardWindow* host, int index, QWidget* parent)
    : QFrame(parent), host_(host), index_(index) {
    setMinimumSize(PageWidth, PageHeight);
    resize(PageWidth, PageHeight);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    exitButton = new QPushButton(QStringLiteral("Выход"), this);
    nextButton = new QPushButton(QStringLiteral("Далее >>>"), this);
    backButton = new QPushButton(QStringLiteral("<<< Назад"), this);
    placeButtonRow();
    for (QPushButton* b : {nextButton, backButton, exitButton}) b->setAutoDefault(false);

    connect(exitButton, &QPushButton::clicked, this, Guarded([this] { exitClicked(); }));
    // The start page has nothing behind it; the last page's forward button
    // finishes instead of moving.
    if (index_ > 0)
        connect(backButton, &QPushButton::clicked, this,
                Guarded([this] { host_->ShowPage(host_->page(index_ - 1)); }));
    if (index_ < WizardWindow::PageCount - 1)
        connect(nextButton, &QPushButton::clicked, this,
                Guarded([this] { host_->ShowPage(host_->page(index_ + 1)); }));
}

void WizardPage::placeButtonRow() {
    const int y = height() - ButtonHeight - Margin;
    exitButton->setGeometry(Margin, y, ButtonWidth, ButtonHeight);
    nextButton->setGeometry(width() - Margin - ButtonWidth, y, ButtonWidth, ButtonHeight);
    backButton->setGeometry(width() - Margin - 2 * ButtonWidth - 6, y, ButtonWidth, ButtonHeight);
}

void WizardPage::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    placeButtonRow();
    relayout();
}

void WizardPage::exitClicked() {
    if (!exitAlwaysAsks() && host_->singlePage()) {
        host_->closeWizard();
        return;
    }
    if (Dialogs().confirm(exitQuestion())) host_->closeWizard();
}

QString WizardPage::exitQuestion() const {
    return QStringLiteral("Вы действительно хотите выйти из \"Помощника\"?  ");
}

void WizardPage::addUndo(QWidget* menuOn) {
    ConfigurationUndo* undo = host_ ? host_->configurationUndo() : nullptr;
    if (!undo) return;
    // Only the shown page's keys count: every page of the window has the same pair.
    const UndoActions actions = AddUndoActions(this, undo->stack(), Qt::WindowShortcut);
    undoAction = actions.undo;
    redoAction = actions.redo;
    undoMenu = AddUndoMenu(menuOn, actions);
}

void WizardPage::recordEdit(const QString& text, const std::function<void()>& edit, int mergeKind) {
    RecordConfigurationEdit(host_ ? host_->configurationUndo() : nullptr, text, edit, mergeKind);
}

void WizardPage::showNavigation() {
    const bool whole = !host_->singlePage();
    nextButton->setVisible(whole);
    backButton->setVisible(whole);
}

QLabel* WizardPage::addText(const QString& text, int x, int y, bool bold) {
    return addText(text, x, y, PageTextFont(), bold);
}

QLabel* WizardPage::addText(const QString& text, int x, int y, QFont font, bool bold) {
    auto* label = new QLabel(text, this);
    font.setBold(bold);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, PageTextColor());
    label->setPalette(palette);
    label->move(x, y);
    label->adjustSize();
    return label;
}

int WizardPage::addTextLines(const QStringList& lines, int x, int y, QList<QLabel*>* labels) {
    // The page keeps its size whatever fonts the system has: a block of text
    // takes the largest size at which its longest line still fits.
    QFont font = PageTextFont();
    const int room = PageWidth - x - Margin / 2;
    for (int pixels = font.pixelSize(); pixels > MinimumTextPixels; --pixels) {
        font.setPixelSize(pixels);
        const QFontMetrics metrics(font);
        int widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, metrics.horizontalAdvance(line));
        if (widest <= room) break;
    }
    const int step = std::max(QFontMetrics(font).height() + 1, MinimumLineStep);
    for (const QString& line : lines) {
        QLabel* label = addText(line, x, y, font);
        if (labels) labels->append(label);
        y += step;
    }
    return y;
}

int WizardPage::addHeading(const QString& text) {
    QLabel* heading = addText(text, Margin, 6, true);
    QFont font = heading->font();
    font.setPixelSize(13);
    heading->setFont(font);
    heading->adjustSize();
    return 6 + heading->height() + 4;
}
