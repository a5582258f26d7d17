#pragma once

#include "wizard/ui/ListPage.h"

class QComboBox;

// Page 5: the eight lines of one of the two clichés. The drop-down list
// chooses the cliché that editing and the transfers act on; the grid shows
// the one filled last.
class ClichePage : public ListPage {
    Q_OBJECT
public:
    ClichePage(WizardWindow* host, QWidget* parent);

    void Fill(int cliche);
    void refill() override;

    QComboBox* clicheCombo = nullptr;  // "Клише 1" / "Клише 2"
    // The cliché of the drop-down list, 0 or 1.
    int selectedCliche() const;

protected:
    TransferPage transfer() override;
    void editCell(int row, int col) override;
};
