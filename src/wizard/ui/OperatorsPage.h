#pragma once

#include "wizard/ui/ListPage.h"

// Page 1: the eight operators with position, name, password and access.
class OperatorsPage : public ListPage {
    Q_OBJECT
public:
    OperatorsPage(WizardWindow* host, QWidget* parent);

    void Fill();
    void refill() override { Fill(); }

protected:
    TransferPage transfer() override;
    void editCell(int row, int col) override;
    QString cellText(const TransferPage& page, int item, int line) const override;
};
