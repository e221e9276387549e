#pragma once
#include "platform/ui/Control.h"

#include <QHash>
#include <QRect>
#include <QStringList>
#include <QTableWidget>

namespace plat {

class Canvas;

enum GridDrawFlag { gdSelected = 0x01, gdFocused = 0x02, gdFixed = 0x04 };
Q_DECLARE_FLAGS(GridDrawState, GridDrawFlag)

using SelectCellEvent = Event<void(QObject *Sender, int ACol, int ARow, bool &CanSelect)>;
using DrawCellEvent = Event<void(QObject *Sender, int ACol, int ARow, const QRect &Rect, GridDrawState State)>;

// A grid of texts: fixed (title) rows and columns in FixedColor, a cell selection that
// OnSelectCell may refuse, and cells drawn by OnDrawCell when assigned (on the grid's
// canvas; defaultDrawCell draws what the grid would have). With column moving on, a column
// is dragged by a cell of its fixed rows to another place (OnColumnMoved then tells from
// where to where); with column sizing on, the right edge of a fixed cell is dragged.
class StringGrid : public QTableWidget, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
    Q_PROPERTY(int FixedColor READ fixedColor WRITE setFixedColor)
public:
    explicit StringGrid(QWidget *parent = nullptr);

    int colCount() const { return columnCount(); }
    void setColCount(int count);
    int rowCount() const { return QTableWidget::rowCount(); }
    void setRowCount(int count);
    int fixedRows() const { return fixedRows_; }
    void setFixedRows(int rows);
    int fixedCols() const { return fixedCols_; }
    void setFixedCols(int cols);
    int fixedColor() const { return fixedColor_; }
    void setFixedColor(int color);
    QString cell(int col, int row) const;
    void setCell(int col, int row, const QString &text);
    int col() const { return currentColumn(); }
    int row() const { return currentRow(); }
    void setCurrentCell(int col, int row) { QTableWidget::setCurrentCell(row, col); }
    // A width below 0 hides the column and reads back as -1.
    int colWidth(int col) const { return isColumnHidden(col) ? -1 : columnWidth(col); }
    void setColWidth(int col, int width);
    bool columnMoving() const { return columnMoving_; }
    void setColumnMoving(bool on) { columnMoving_ = on; }
    bool columnSizing() const { return columnSizing_; }
    void setColumnSizing(bool on);
    // The column's cells and width go to place `to`, those between shift by one; then
    // OnColumnMoved.
    void moveColumn(int from, int to);
    void setDefaultRowHeight(int height);
    void setEditing(bool on);
    // Enter moves to the next cell, as Tab does.
    Canvas *canvas() const { return canvas_; }
    void defaultDrawCell(int col, int row, const QRect &rect, GridDrawState state);

    SelectCellEvent OnSelectCell;
    DrawCellEvent OnDrawCell;
    Event<void(QObject *Sender, int FromIndex, int ToIndex)> OnColumnMoved;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool canSelect(const QModelIndex &index);
    void applyFixedLook();

private:
    friend class GridDelegate;
    // The visible column whose right edge, in a fixed row, is under the point; -1 when none.
    int edgeAt(const QPoint &point) const;
    enum class Drag { None, Size, Move };
    Drag drag_ = Drag::None;
    int dragCol_ = -1;
    bool columnMoving_ = false;
    bool columnSizing_ = false;
    int fixedRows_ = 1;
    int fixedCols_ = 1;
    int fixedColor_;
    Canvas *canvas_ = nullptr;
    QPainter *painter_ = nullptr;
    class GridDelegate *delegate_;
};

enum EditStyle { esSimple, esEllipsis, esPickList };

struct ItemProp
{
    EditStyle Style = esSimple;
    QStringList PickList;
    bool ReadOnly = false;
};

// Two columns of names and values (title row "Clave" / "Valor" by default): a value cell
// edits as text, as a pick list, or with an ellipsis button that runs OnEditButtonClick.
class ValueListEditor : public StringGrid
{
    Q_OBJECT
public:
    explicit ValueListEditor(QWidget *parent = nullptr);
    void setTitleCaptions(const QString &key, const QString &value);
    // Name=Value lines.
    QStringList strings() const;
    void setStrings(const QStringList &lines);
    int insertRow(const QString &key, const QString &value);
    QString value(const QString &key) const;
    void setValue(const QString &key, const QString &value);
    QString key(int row) const { return cell(0, row); }
    ItemProp &itemProp(const QString &key) { return props_[key]; }
    ItemProp itemPropOf(int row) const { return props_.value(key(row)); }

    NotifyEvent OnEditButtonClick;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitValueColumn();
    QHash<QString, ItemProp> props_;
};

} // namespace plat

Q_DECLARE_OPERATORS_FOR_FLAGS(plat::GridDrawState)
