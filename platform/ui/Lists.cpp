#include "platform/ui/Lists.h"

#include "platform/ui/Application.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Controls.h"

#include <QButtonGroup>
#include <QDropEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QPainter>
#include <QRadioButton>
#include <QStyledItemDelegate>

namespace plat {

// The delegate of owner-drawn lists: the control's canvas over the item's painter, and its
// OnDrawItem with the item's index, rectangle and state.
class OwnerDraw : public QStyledItemDelegate
{
public:
    template<class C>
    OwnerDraw(C *control, QObject *parent) : QStyledItemDelegate(parent), widget_(control)
    {
        draw_ = [control](QPainter *painter, int index, const QRect &rect, OwnerDrawState state) {
            if (!control->OnDrawItem.assigned())
                return false;
            Canvas canvas(painter);
            canvas.setFont(control->font());
            control->canvas_ = &canvas;
            application().guard(control, [&] { control->OnDrawItem(control, index, rect, state); });
            control->canvas_ = nullptr;
            return true;
        };
    }
    void setItemHeight(int height) { itemHeight_ = height; }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        OwnerDrawState state;
        if (option.state & QStyle::State_Selected) state |= odSelected;
        if (option.state & QStyle::State_HasFocus) state |= odFocused;
        if (!(option.state & QStyle::State_Enabled)) state |= odDisabled;
        painter->save();
        const bool drawn = draw_(painter, index.row(), option.rect, state);
        painter->restore();
        if (!drawn)
            QStyledItemDelegate::paint(painter, option, index);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        if (itemHeight_ > 0)
            s.setHeight(itemHeight_);
        return s;
    }

private:
    QWidget *widget_;
    std::function<bool(QPainter *, int, const QRect &, OwnerDrawState)> draw_;
    int itemHeight_ = 0;
};

// ---- ComboBox ----------------------------------------------------------------------------

void showOfferedText(QComboBox &combo, const QString &text)
{
    // An editable list keeps its current item while its text changes: without this the
    // arrows would go on from the value shown before.
    combo.setCurrentIndex(combo.findText(text));
    combo.setEditText(text);
}

ComboBox::ComboBox(QWidget *parent) : QComboBox(parent), Control(this)
{
    setEditable(true);
    keepOnOneLine(*lineEdit());
    connect(this, &QComboBox::currentIndexChanged, this, [this] { fire(OnChange); });
    connect(this, &QComboBox::editTextChanged, this, [this] {
        if (isEditable())
            fire(OnChange);
    });
}

void ComboBox::setStyle(Style style)
{
    style_ = style;
    setEditable(style == csDropDown);
    if (lineEdit())
        keepOnOneLine(*lineEdit());
    if (style == csOwnerDrawFixed)
        setItemDelegate(new OwnerDraw(this, this));
}

void ComboBox::setItemHeight(int height)
{
    if (auto *d = dynamic_cast<OwnerDraw *>(itemDelegate()))
        d->setItemHeight(height);
}

QStringList ComboBox::items() const
{
    QStringList result;
    for (int i = 0; i < count(); ++i)
        result << itemText(i);
    return result;
}

void ComboBox::setItems(const QStringList &items)
{
    const QSignalBlocker block(this);
    clear();
    addItems(items);
    setCurrentIndex(-1);
}

void ComboBox::setText(const QString &text)
{
    if (isEditable()) {
        setEditText(text);
        return;
    }
    setCurrentIndex(findText(text));
}

// ---- ListBox -----------------------------------------------------------------------------

ListBox::ListBox(QWidget *parent) : QListWidget(parent), Control(this)
{
    watchMouse(viewport());
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDragEnabled(false);
    // What the target does with a drop is its handler's business: the source keeps its items.
    setDefaultDropAction(Qt::CopyAction);
}

void ListBox::setDragMode(DragMode mode)
{
    setDragEnabled(mode == dmAutomatic);
}

bool ListBox::acceptsDrag(QDropEvent *event, DragState state)
{
    bool accept = false;
    if (OnDragOver.assigned()) {
        const QPoint at = event->position().toPoint();
        application().guard(this, [&] { OnDragOver(this, event->source(), at.x(), at.y(), state, accept); });
    }
    if (accept) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
    return accept;
}

void ListBox::dragEnterEvent(QDragEnterEvent *event)
{
    acceptsDrag(event, dsDragEnter);
}

void ListBox::dragMoveEvent(QDragMoveEvent *event)
{
    acceptsDrag(event, dsDragMove);
}

void ListBox::dropEvent(QDropEvent *event)
{
    if (!acceptsDrag(event, dsDragMove))
        return;
    const QPoint at = event->position().toPoint();
    if (OnDragDrop.assigned())
        application().guard(this, [&] { OnDragDrop(this, event->source(), at.x(), at.y()); });
}

QStringList ListBox::items() const
{
    QStringList result;
    for (int i = 0; i < count(); ++i)
        result << item(i)->text();
    return result;
}

void ListBox::setItems(const QStringList &items)
{
    clear();
    addItems(items);
}

void ListBox::setMultiSelect(bool on)
{
    setSelectionMode(on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

bool ListBox::selected(int index) const
{
    const QListWidgetItem *i = item(index);
    return i && i->isSelected();
}

void ListBox::setSelected(int index, bool selected)
{
    if (QListWidgetItem *i = item(index))
        i->setSelected(selected);
}

int ListBox::selCount() const
{
    return int(selectedItems().size());
}

void ListBox::setOwnerDraw(bool on)
{
    setItemDelegate(on ? static_cast<QAbstractItemDelegate *>(new OwnerDraw(this, this))
                       : new QStyledItemDelegate(this));
}

// ---- RadioGroup --------------------------------------------------------------------------

RadioGroup::RadioGroup(QWidget *parent) : QGroupBox(parent), Control(this), group_(new QButtonGroup(this))
{
    new QGridLayout(this);
    connect(group_, &QButtonGroup::idClicked, this, [this] { fire(OnClick); });
}

void RadioGroup::setItems(const QStringList &items)
{
    items_ = items;
    rebuild();
}

void RadioGroup::setColumns(int columns)
{
    columns_ = std::max(1, columns);
    rebuild();
}

void RadioGroup::rebuild()
{
    const int current = itemIndex();
    for (QAbstractButton *b : group_->buttons()) {
        group_->removeButton(b);
        delete b;
    }
    auto *grid = static_cast<QGridLayout *>(layout());
    const int rows = (int(items_.size()) + columns_ - 1) / columns_;
    for (int i = 0; i < items_.size(); ++i) {
        auto *b = new QRadioButton(items_[i], this);
        group_->addButton(b, i);
        grid->addWidget(b, rows ? i % rows : 0, rows ? i / rows : 0);
    }
    setItemIndex(current);
}

int RadioGroup::itemIndex() const
{
    return group_->checkedId();
}

void RadioGroup::setItemIndex(int index)
{
    if (QAbstractButton *b = group_->button(index)) {
        b->setChecked(true);
        return;
    }
    if (QAbstractButton *checked = group_->checkedButton()) {
        group_->setExclusive(false);
        checked->setChecked(false);
        group_->setExclusive(true);
    }
}

// ---- ListView ----------------------------------------------------------------------------

ListView::ListView(QWidget *parent) : QTreeWidget(parent), Control(this)
{
    setRootIsDecorated(false);
    setColumnCount(0);
    setUniformRowHeights(true);
    watchMouse(viewport());
    connect(this, &QTreeWidget::currentItemChanged, this, [this] { fire(OnSelectItem); });
}

void ListView::addColumn(const QString &caption, int width)
{
    const int index = columnCount();
    setColumnCount(index + 1);
    headerItem()->setText(index, caption);
    setColumnWidth(index, width);
}

QString ListView::columnCaption(int index) const
{
    return headerItem()->text(index);
}

void ListView::setColumnCaption(int index, const QString &caption)
{
    headerItem()->setText(index, caption);
}

QTreeWidgetItem *ListView::addItem(const QString &caption, const QStringList &subItems)
{
    auto *item = new QTreeWidgetItem(this);
    item->setText(0, caption);
    for (int i = 0; i < subItems.size(); ++i)
        item->setText(i + 1, subItems[i]);
    return item;
}

} // namespace plat
