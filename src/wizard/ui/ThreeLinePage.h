#pragma once

#include <cstdint>

#include "wizard/ui/ListPage.h"

// The services and additional-requisites pages: eight items of three lines
// with access. The two differ only in what their constructors pass.
class ThreeLinePage : public ListPage {
    Q_OBJECT
public:
    void Fill();
    void refill() override { Fill(); }

protected:
    ThreeLinePage(WizardWindow* host, int index, QWidget* parent, uint8_t group,
                  const QString& heading);

    TransferPage transfer() override;
    void editCell(int row, int col) override;

private:
    uint8_t group_;
};
