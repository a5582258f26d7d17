#include "wizard/ui/ClichePage.h"

#include <QComboBox>
#include <QPushButton>

#include "config/DeviceConfiguration.h"

namespace {

ListPage::Layout ClicheLayout() {
    ListPage::Layout layout;
    layout.heading = QStringLiteral("Клише");
    layout.explanation = {
        QStringLiteral(
            "В АС заложено 2 программируемых клише по 8 строк. Если первое клише хотя бы раз"),
        QStringLiteral(
            "было использовано при печати ДСО (после ввода ИНН) - изменить его нельзя, может"),
        QStringLiteral(
            "быть запрограммировано второе клише, а после того как и оно будет использовано"),
        QStringLiteral("при печати ДСО - изменить клише буде уже нельзя."),
        QStringLiteral("Клише состоит из 8 строк: первые 5 - заголовок, последние 3 - окончание.")};
    layout.headers = {QStringLiteral("№"), QStringLiteral("Значение")};
    layout.widths = {20, 400};
    layout.linesInRows = true;
    layout.hasAccessColumn = false;
    layout.hasCurrentBox = false;
    layout.monospace = true;
    return layout;
}

}  // namespace

ClichePage::ClichePage(WizardWindow* host, QWidget* parent)
    : ListPage(host, 5, parent, ClicheLayout()) {
    nextButton->setText(QStringLiteral("Далее>>>"));
    clicheCombo = new QComboBox(this);
    clicheCombo->addItems({QStringLiteral("Клише 1"), QStringLiteral("Клише 2")});
    const QRect next = writeButton->geometry();
    clicheCombo->setGeometry(next.right() + 8, next.top(), 100, next.height());
}

int ClichePage::selectedCliche() const {
    return clicheCombo->currentIndex() == 1 ? 1 : 0;
}

TransferPage ClichePage::transfer() {
    return ClicheTransfer(CurrentConfiguration(), selectedCliche());
}

void ClichePage::Fill(int cliche) {
    clicheCombo->setCurrentIndex(cliche == 1 ? 1 : 0);
    fillCells();
    showNavigation();
}

void ClichePage::refill() {
    Fill(selectedCliche());
}

void ClichePage::editCell(int row, int col) {
    if (col != 1 || row < 1 || row > ClicheLineCount) return;
    editLineCell(CurrentConfiguration().cliches[selectedCliche()].lines[row - 1], row, col);
}
