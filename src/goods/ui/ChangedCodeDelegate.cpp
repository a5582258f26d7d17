#include "goods/ui/ChangedCodeDelegate.h"

#include "goods/GoodsTable.h"

void ChangedCodeDelegate::initStyleOption(QStyleOptionViewItem* option,
                                          const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.data(GoodsChangedRole).toBool()) option->font.setBold(true);
}
