#pragma once
#include <QStyledItemDelegate>

// Draws the items of a combo box or list box with their text translated item by item as a
// ";"-separated list; the items themselves keep their own texts. On a combo box it also
// paints the closed box's current item translated.
class DibujarElementoTraducido : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    bool eventFilter(QObject *objeto, QEvent *evento) override;
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};
