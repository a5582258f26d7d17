#include "wizard/ui/ThreeLinePage.h"

#include "config/DeviceConfiguration.h"
#include "config/ParameterCatalogue.h"

namespace {

ListPage::Layout ThreeLineLayout(const QString& heading) {
    ListPage::Layout layout;
    layout.heading = heading;
    layout.headers = {QStringLiteral("№"), QStringLiteral("Строка 1"), QStringLiteral("Строка 2"),
                      QStringLiteral("Строка 3"), QStringLiteral("Дост.")};
    layout.widths = {20, 125, 125, 100, 65};
    return layout;
}

}  // namespace

ThreeLinePage::ThreeLinePage(WizardWindow* host, int index, QWidget* parent, uint8_t group,
                             const QString& heading)
    : ListPage(host, index, parent, ThreeLineLayout(heading)), group_(group) {}

TransferPage ThreeLinePage::transfer() {
    return ThreeLineTransfer(CurrentConfiguration(), group_);
}

void ThreeLinePage::Fill() {
    fillCells();
    showNavigation();
}

void ThreeLinePage::editCell(int row, int col) {
    if (row < 1 || row > 8 || col < 1 || col > 3) return;
    DeviceConfiguration& config = CurrentConfiguration();
    ThreeLineRecord& record =
        group_ == GroupService ? config.services[row - 1] : config.requisites[row - 1];
    editLineCell(record.lines[col - 1], row, col);
}
