#pragma once
#include "platform/ui/Canvas.h"
#include "platform/ui/Control.h"
#include "platform/ui/WidthScale.h"
#include "platform/ui/data/DataSource.h"

#include <QAbstractItemDelegate>
#include <QAbstractTableModel>
#include <QHash>
#include <QPointer>
#include <QTableView>

#include <optional>

namespace plat {

class DBGrid;
class GridModel;

enum ColumnButtonStyle { cbsAuto, cbsEllipsis, cbsNone };
enum GridDrawStateFlag { gdsSelected = 0x01, gdsFocused = 0x02 };
Q_DECLARE_FLAGS(GridCellState, GridDrawStateFlag)

// One column of a data grid, bound to a field by name.
class GridColumn
{
public:
    QString FieldName;
    QString TitleCaption;          // empty: the field's label
    QFont TitleFont;               // used when hasTitleFont
    bool hasTitleFont = false;
    int TitleFontColor = clDefault;
    int Width = 0;                 // the program's pixels, scaled on screen (WidthScale); 0: from the field's display width
    Qt::Alignment Alignment;       // empty: the field's
    bool Visible = true;
    bool ReadOnly = false;
    QStringList PickList;
    ColumnButtonStyle ButtonStyle = cbsAuto;
    int Color = clDefault;

    Field *field() const { return field_; }

private:
    friend class DBGrid;
    friend class GridModel;
    Field *field_ = nullptr;
    int shown_ = 0;                // screen pixels given exactly, while Width is still shownFor_
    int shownFor_ = 0;
};

using DrawColumnCellEvent =
    Event<void(QObject *Sender, const QRect &Rect, int DataCol, GridColumn *Column, GridCellState State)>;
using DrawTitleEvent = Event<void(QObject *Sender, const QRect &Rect, int DataCol, GridColumn *Column)>;

// The data grid: columns bound to the fields of its data source's dataset, a lazy view that
// reads the rows a screen needs (never the whole table: a table of a million rows shows its
// first screen at once, further rows come as the user scrolls), editing that puts the
// dataset in edit state and posts when the current row changes, whole-row select, row
// indicator, movable columns, multi-row selection as bookmarks, owner-drawn cells and
// titles, and an ellipsis button that calls the form's "<grid name>EditButtonClick".
class DBGrid : public QTableView, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
    Q_PROPERTY(QObject *DataSource READ dataSourceObject WRITE setDataSourceObject)
    Q_PROPERTY(QFont TitleFont READ titleFont WRITE setTitleFont)
    Q_PROPERTY(int FixedColor READ fixedColor WRITE setFixedColor)
    Q_PROPERTY(bool ReadOnly READ readOnly WRITE setReadOnly)
public:
    explicit DBGrid(QWidget *parent = nullptr);
    ~DBGrid() override;

    plat::DataSource *dataSource() const { return source_; }
    void setDataSource(plat::DataSource *source);
    QObject *dataSourceObject() const { return source_; }
    void setDataSourceObject(QObject *source) { setDataSource(qobject_cast<plat::DataSource *>(source)); }
    DataSet *dataSet() const;

    // Columns: the ones added, or else one per visible field of the dataset.
    GridColumn *addColumn(const QString &fieldName);
    void clearColumns();         // back to the default columns
    int columnCount() const { return int(columns_.size()); }
    GridColumn *column(int index) const;
    bool customColumns() const { return custom_; }
    // Applies changed column settings (title, width, visibility...).
    void updateColumns();
    // The pixels of one character of a field's display width: a digit of the grid's font,
    // so that numbers and dates of that many characters fit their default column.
    int characterWidth() const;
    // The scale of the program's pixel widths for the grid's font.
    WidthScale widthScale() const { return WidthScale(fontMetrics()); }
    // A column's width on screen, hidden or not.
    int shownWidth(int index) const;
    // Gives a column a width in screen pixels (a fitting to the grid's own width): shown as
    // given, its Width becomes the program's pixels for it.
    void setShownWidth(int index, int pixels);

    QFont titleFont() const { return titleFont_; }
    void setTitleFont(const QFont &font);
    int titleFontColor() const { return titleFontColor_; }
    void setTitleFontColor(int color);
    int fixedColor() const { return fixedColor_; }
    void setFixedColor(int color);
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool on);

    // The class library's options.
    bool rowSelect() const { return rowSelect_; }
    void setRowSelect(bool on);
    bool indicator() const { return indicator_; }
    void setIndicator(bool on);
    bool multiSelect() const { return multiSelect_; }
    void setMultiSelect(bool on);
    bool enterAsTab() const { return enterAsTab_; }
    void setEnterAsTab(bool on) { enterAsTab_ = on; }
    bool defaultDrawing() const { return defaultDrawing_; }
    void setDefaultDrawing(bool on) { defaultDrawing_ = on; }

    int selectedIndex() const;              // the current column
    void setSelectedIndex(int index);
    Field *selectedField() const;
    void setSelectedField(Field *field);
    // A number that changes whenever the current cell does: another row or column, or a new
    // record starting in it. What was typed in one cell is told from what was typed in another.
    quint64 cellSerial() const { return cellSerial_; }
    // The bookmarks of the selected rows (multi-select), in row order.
    QList<Bookmark> selectedRows();
    void clearSelectedRows();

    // Inside OnDrawColumnCell: the canvas, the row being drawn, and a field's display
    // text in that row.
    Canvas *canvas() const { return canvas_; }
    int drawingRow() const { return drawingRow_; }
    // Whether the row being drawn is the record being edited or inserted.
    bool drawingEditedRow() const;
    QString drawnText(const QString &fieldName) const;
    void DefaultDrawColumnCell(const QRect &rect, int dataCol, GridColumn *column, GridCellState state);

    DrawColumnCellEvent OnDrawColumnCell;
    DrawTitleEvent OnDrawTitle;
    NotifyEvent OnColEnter;
    NotifyEvent OnColExit;              // raise (gp::Abort) to stay in the column
    Event<void(QObject *Sender, int FromIndex, int ToIndex)> OnColumnMoved;
    NotifyEvent OnEditButtonClick;      // when unassigned, "<name>EditButtonClick" of the form
    NotifyEvent OnCellClick;
    Event<void(QObject *Sender, GridColumn *Column)> OnTitleClick;   // a column title clicked

    // The rows the grid has read so far (for tests and the benchmark).
    int fetchedRows() const;
    void EditButtonClick();

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void changeEvent(QEvent *event) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    friend class GridModel;
    friend class DBGridDelegate;
    friend class GridHeader;
    void rebuildDefaultColumns();
    void followFieldOrder();
    void resolveFields();
    void applyColumnLook();
    bool leaveColumn(const QModelIndex &target);
    bool editable() const;
    bool startEditing();
    void commitCellEditor();
    bool postRow();
    bool downFromLastRow();
    void insertRow();
    void reselectCurrent();
    void syncFromDataSet();
    void moveViewTo(int row, int col);
    void columnMoved(int logical, int oldVisual, int newVisual);
    // A cell whose text its field refused: its editor opens again on it with the text
    // selected ("Repita por favor"), and the row stays current meanwhile.
    void refuseCell(const QModelIndex &cell, const QString &text);
    std::optional<QString> refusedText(const QModelIndex &cell) const;
    void reopenRefusedCell();
    struct RefusedCell
    {
        QPersistentModelIndex cell;
        QString text;
        bool reopening;
    };
    std::optional<RefusedCell> refused_;

    QPointer<plat::DataSource> source_;
    GridModel *model_;
    QList<GridColumn *> columns_;
    bool custom_ = false;
    QFont titleFont_;
    int titleFontColor_ = clDefault;
    int fixedColor_;
    bool readOnly_ = false;
    bool rowSelect_ = false;
    bool indicator_ = true;
    bool multiSelect_ = false;
    bool enterAsTab_ = false;
    bool defaultDrawing_ = true;
    bool syncing_ = false;
    bool reselect_ = false;   // the view's own selection must follow the row the grid settled on
    quint64 cellSerial_ = 0;
    Canvas *canvas_ = nullptr;
    int drawingRow_ = -1;
    QPainter *painter_ = nullptr;
    const void *drawOption_ = nullptr;
};

} // namespace plat

Q_DECLARE_OPERATORS_FOR_FLAGS(plat::GridCellState)
