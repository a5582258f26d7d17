#include "goods/ui/GoodsSearchBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <functional>

#include "goods/GoodsSearch.h"
#include "goods/GoodsTable.h"
#include "shell/ui/GridPage.h"

namespace {

// Esc belongs to the field: the page's own Esc ("Очистить поля") must never
// reach past a search being typed.
class SearchField : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    std::function<void()> onEscape;

protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            event->accept();
            return true;
        }
        return QLineEdit::event(event);
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) {
            if (onEscape) onEscape();
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
    }
};

}  // namespace

GoodsSearchBar::GoodsSearchBar(GoodsTable& table, GridPage& grid, QWidget* parent)
    : QWidget(parent), table_(table), grid_(grid) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    label = new QLabel(QStringLiteral("Поиск:"), this);
    auto* search = new SearchField(this);
    field = search;
    field->setToolTip(
        QStringLiteral("Код, наименование или штрих-код; Enter — следующий, "
                       "Esc — очистить"));
    field->setFixedWidth(200);
    label->setBuddy(field);
    layout->addWidget(label);
    layout->addWidget(field);

    search->onEscape = [this] { clear(); };
    connect(field, &QLineEdit::textEdited, this, [this] { find(grid_.CurrentRow()); });
    connect(field, &QLineEdit::returnPressed, this, [this] { find(grid_.CurrentRow() + 1); });
}

void GoodsSearchBar::find(int from) {
    const QString text = field->text();
    if (text.isEmpty()) {
        showFound(true);
        return;
    }
    const int row = FindGoodsRow(table_, text, from);
    showFound(row != 0);
    if (row == 0) return;
    grid_.selectCell(row, grid_.CurrentCol());
    grid_.scrollTo(grid_.currentIndex());
}

void GoodsSearchBar::clear() {
    field->clear();
    showFound(true);
}

void GoodsSearchBar::showFound(bool found) {
    notFound_ = !found;
    field->setStyleSheet(found ? QString() : QStringLiteral("QLineEdit { background: #ffd8d8; }"));
}
