#include "wizard/ui/OperatorsPage.h"

#include <QLineEdit>

#include "config/DeviceConfiguration.h"
#include "shell/ui/GridPage.h"
#include "wizard/DeviceLine.h"
#include "wizard/ui/NumberEditorDialog.h"

namespace {

ListPage::Layout OperatorsLayout() {
    ListPage::Layout layout;
    layout.heading = QStringLiteral("Данные операторов");
    layout.explanation = {
        QStringLiteral("Программируемые данные оператора включают в себя должность, фамилию, имя,"),
        QStringLiteral(
            "отчество и пароль. Должность и Ф.И.О. печатаются в окончании документа. Если"),
        QStringLiteral(
            "данные не запрограммированны, то на документах на месте должности  и Ф.И.О"),
        QStringLiteral("оператора будет напечатано указание на обязательный ввод этих данных.")};
    layout.headers = {QStringLiteral("№"), QStringLiteral("Должность"), QStringLiteral("Ф.И.О."),
                      QStringLiteral("Пароль"), QStringLiteral("Дост.")};
    layout.widths = {20, 125, 125, 100, 65};
    return layout;
}

}  // namespace

OperatorsPage::OperatorsPage(WizardWindow* host, QWidget* parent)
    : ListPage(host, 1, parent, OperatorsLayout()) {}

TransferPage OperatorsPage::transfer() {
    return OperatorsTransfer(CurrentConfiguration());
}

QString OperatorsPage::cellText(const TransferPage& page, int item, int line) const {
    if (line == 2) return PasswordText(page.field(item, line).bytes);
    return ListPage::cellText(page, item, line);
}

void OperatorsPage::Fill() {
    fillCells();
    showNavigation();
}

void OperatorsPage::editCell(int row, int col) {
    if (row < 1 || row > OperatorCount) return;
    OperatorRecord& op = CurrentConfiguration().operators[row - 1];
    if (col == 1) {
        editLineCell(op.position, row, col);
    } else if (col == 2) {
        editLineCell(op.name, row, col);
    } else if (col == 3 && SharedNumberEditor) {
        SharedNumberEditor->field->setText(Cells->cell(col, row));
        SharedNumberEditor->exec();
        if (!SharedNumberEditor->Accepted) return;
        Cells->setCell(col, row, SharedNumberEditor->field->text());
        StorePassword(op.password, SharedNumberEditor->field->text());
    }
}
