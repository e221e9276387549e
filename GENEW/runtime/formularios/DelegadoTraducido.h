#pragma once
#include <QStyledItemDelegate>

// Draws the items of a combo box or list box with their text translated item by item as a
// ";"-separated list; the items themselves keep their own texts.
class DelegadoTraducido : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};
