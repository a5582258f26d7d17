#include "wizard/ui/ThreeLineFrame.h"

#include "config/DeviceConfiguration.h"
#include "config/ParameterCatalogue.h"

namespace {

TListPage::Layout ThreeLineLayout(const QString& heading) {
    TListPage::Layout layout;
    layout.heading = heading;
    layout.headers = {QStringLiteral("№"), QStringLiteral("Строка 1"), QStringLiteral("Строка 2"),
                      QStringLiteral("Строка 3"), QStringLiteral("Дост.")};
    layout.widths = {20, 125, 125, 100, 65};
    return layout;
}

}  // namespace

TThreeLineFrame::TThreeLineFrame(TForm5* host, int index, QWidget* parent, uint8_t group,
                                 const QString& heading)
    : TListPage(host, index, parent, ThreeLineLayout(heading)), group_(group) {}

TransferPage TThreeLineFrame::transfer() {
    return ThreeLineTransfer(CurrentConfiguration(), group_);
}

void TThreeLineFrame::Fill() {
    fillCells();
    showNavigation();
}

void TThreeLineFrame::editCell(int row, int col) {
    if (row < 1 || row > 8 || col < 1 || col > 3) return;
    DeviceConfiguration& config = CurrentConfiguration();
    ThreeLineRecord& record =
        group_ == GroupService ? config.services[row - 1] : config.requisites[row - 1];
    editLineCell(record.lines[col - 1], row, col);
}
