#pragma once

#include <QStyledItemDelegate>

// Draws the code of a goods record that may differ from the device's copy
// (GoodsChangedRole) in bold, so that the user sees what "Загрузить
// изменённые" would send.
class ChangedCodeDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
