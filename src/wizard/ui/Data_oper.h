#pragma once

#include "wizard/ui/ListPage.h"

// Page 1: the eight operators with position, name, password and access.
class TDataOperFrame : public TListPage {
    Q_OBJECT
public:
    TDataOperFrame(TForm5* host, QWidget* parent);

    void Fill();
    void refill() override { Fill(); }

protected:
    TransferPage transfer() override;
    void editCell(int row, int col) override;
    QString cellText(const TransferPage& page, int item, int line) const override;
};
