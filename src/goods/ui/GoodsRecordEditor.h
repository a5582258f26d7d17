#pragma once

#include <QDialog>

#include "goods/GoodsRecord.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

// The goods record editor, created once at start-up and reused: the only way
// to change one row of the goods table by hand. Every opening fills all its
// fields from the row; the row is written only after a successful "Применить".
class GoodsRecordEditor : public QDialog {
    Q_OBJECT
public:
    explicit GoodsRecordEditor(QWidget* parent = nullptr);

    // Fills the fields from a table row (a blank barcode shows as "0").
    void FillFrom(const GoodsRecord& row);
    // The row as the fields give it, for table row `row` (its code is row - 1).
    GoodsRecord RecordFor(int row) const;

    // Fills from the row, shows the dialog modally and, when it was left by a
    // successful "Применить", returns true with `record` rewritten.
    bool Edit(GoodsRecord& record, int row);

    // Left by a successful "Применить".
    bool Applied = false;

    QLineEdit* nameEdit = nullptr;        // "Наименование:"
    QCheckBox* wideBox = nullptr;         // "Широкий"
    QLineEdit* barcodeEdit = nullptr;     // "Штрих-код:"
    QLineEdit* sectionEdit = nullptr;     // "Секция:"
    QLineEdit* priceEdit = nullptr;       // "Цена:"
    QPushButton* applyButton = nullptr;   // "Применить"
    QPushButton* cancelButton = nullptr;  // "Отмена"

    void applyClicked();
    void cancelClicked();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;
};

extern GoodsRecordEditor* SharedGoodsEditor;

// The warning when a paste into the price holds no one price.
QString PastedPriceRefusal();
