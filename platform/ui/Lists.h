#pragma once
#include "platform/ui/Control.h"

#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QRect>
#include <QTreeWidget>

class QButtonGroup;

namespace plat {

class Canvas;

enum OwnerDrawFlag { odSelected = 0x01, odFocused = 0x02, odDisabled = 0x04 };
Q_DECLARE_FLAGS(OwnerDrawState, OwnerDrawFlag)

// Draws one item of a list: Index, the item's rectangle, its state; the control's canvas()
// is valid while the handler runs.
using DrawItemEvent = Event<void(QObject *Control, int Index, const QRect &Rect, OwnerDrawState State)>;

// Shows a text in an editable list of offered values: the item equal to it becomes the
// current one (none when no item is), so that Up and Down go on from the value shown.
void showOfferedText(QComboBox &combo, const QString &text);

// A combo box: drop-down list (csDropDownList) or editable (csDropDown); owner-drawn
// when OnDrawItem is assigned and the style says so.
class ComboBox : public QComboBox, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
    Q_PROPERTY(QString Text READ text WRITE setText)
    Q_PROPERTY(int ItemIndex READ itemIndex WRITE setItemIndex)
public:
    enum Style { csDropDown, csDropDownList, csOwnerDrawFixed };
    explicit ComboBox(QWidget *parent = nullptr);
    Style style() const { return style_; }
    void setStyle(Style style);
    void setItemHeight(int height);
    QStringList items() const;
    void setItems(const QStringList &items);
    int itemIndex() const { return currentIndex(); }
    void setItemIndex(int index) { setCurrentIndex(index); }
    QString text() const { return currentText(); }
    void setText(const QString &text);
    Canvas *canvas() const { return canvas_; }

    NotifyEvent OnChange;
    DrawItemEvent OnDrawItem;

private:
    friend class OwnerDraw;
    Style style_ = csDropDown;
    Canvas *canvas_ = nullptr;
};

class ListBox : public QListWidget, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
    Q_PROPERTY(int ItemIndex READ itemIndex WRITE setItemIndex)
public:
    explicit ListBox(QWidget *parent = nullptr);
    QStringList items() const;
    void setItems(const QStringList &items);
    int itemIndex() const { return currentRow(); }
    void setItemIndex(int index) { setCurrentRow(index); }
    bool multiSelect() const { return selectionMode() == QAbstractItemView::ExtendedSelection; }
    void setMultiSelect(bool on);
    bool selected(int index) const;
    void setSelected(int index, bool selected);
    int selCount() const;
    void setOwnerDraw(bool on);
    Canvas *canvas() const { return canvas_; }
    // dmAutomatic: pressing on the selected items and moving drags them to another control.
    DragMode dragMode() const { return dragEnabled() ? dmAutomatic : dmManual; }
    void setDragMode(DragMode mode);

    DrawItemEvent OnDrawItem;
    // Drops are taken only where OnDragOver accepts them; the items never move by themselves.
    DragOverEvent OnDragOver;
    DragDropEvent OnDragDrop;

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    friend class OwnerDraw;
    bool acceptsDrag(QDropEvent *event, DragState state);
    Canvas *canvas_ = nullptr;
};

// A framed group of radio buttons built from a list of captions.
class RadioGroup : public QGroupBox, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ title WRITE setTitle)
    Q_PROPERTY(int ItemIndex READ itemIndex WRITE setItemIndex)
public:
    explicit RadioGroup(QWidget *parent = nullptr);
    QStringList items() const { return items_; }
    void setItems(const QStringList &items);
    int columns() const { return columns_; }
    void setColumns(int columns);
    int itemIndex() const;
    void setItemIndex(int index);

private:
    void rebuild();
    QStringList items_;
    int columns_ = 1;
    QButtonGroup *group_;
};

// A list view in report style: columns with captions and widths, items with sub-items.
class ListView : public QTreeWidget, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
public:
    explicit ListView(QWidget *parent = nullptr);
    void addColumn(const QString &caption, int width);
    QString columnCaption(int index) const;
    void setColumnCaption(int index, const QString &caption);
    // Adds an item: its caption and the texts of the further columns.
    QTreeWidgetItem *addItem(const QString &caption, const QStringList &subItems = {});
    int itemCount() const { return topLevelItemCount(); }
    QTreeWidgetItem *selectedItem() const { return currentItem(); }
    void Clear() { clear(); }

    NotifyEvent OnSelectItem;
};

} // namespace plat

Q_DECLARE_OPERATORS_FOR_FLAGS(plat::OwnerDrawState)
