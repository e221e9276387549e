#include "platform/ui/Grids.h"

#include "platform/ui/Application.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Lists.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <cstdlib>
#include <utility>

namespace plat {

// Draws the cells (owner-drawn ones through the grid's handler) and builds the editors of
// value-list rows.
class GridDelegate : public QStyledItemDelegate
{
public:
    explicit GridDelegate(StringGrid *grid) : QStyledItemDelegate(grid), grid_(grid) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        GridDrawState state;
        if (option.state & QStyle::State_Selected) state |= gdSelected;
        if (option.state & QStyle::State_HasFocus) state |= gdFocused;
        if (index.row() < grid_->fixedRows_ || index.column() < grid_->fixedCols_) state |= gdFixed;
        if (!grid_->OnDrawCell.assigned()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        painter->save();
        Canvas canvas(painter);
        canvas.setFont(grid_->font());
        grid_->canvas_ = &canvas;
        grid_->painter_ = painter;
        current_ = &option;
        application().guard(grid_, [&] { grid_->OnDrawCell(grid_, index.column(), index.row(), option.rect, state); });
        current_ = nullptr;
        grid_->canvas_ = nullptr;
        grid_->painter_ = nullptr;
        painter->restore();
    }

    void paintDefault(QPainter *painter, int col, int row) const
    {
        if (!current_)
            return;
        QStyleOptionViewItem option = *current_;
        QStyledItemDelegate::paint(painter, option, grid_->model()->index(row, col));
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        auto *list = dynamic_cast<ValueListEditor *>(grid_);
        if (!list || index.column() != 1)
            return QStyledItemDelegate::createEditor(parent, option, index);
        const ItemProp prop = list->itemPropOf(index.row());
        if (prop.ReadOnly)
            return nullptr;
        if (prop.Style == esPickList) {
            auto *combo = new QComboBox(parent);
            combo->setEditable(true);
            combo->addItems(prop.PickList);
            return combo;
        }
        auto *edit = new QLineEdit(parent);
        if (prop.Style == esEllipsis) {
            QAction *ellipsis = edit->addAction(QIcon(), QLineEdit::TrailingPosition);
            ellipsis->setText(QStringLiteral("…"));
            ellipsis->setToolTip(QStringLiteral("…"));
            QObject::connect(ellipsis, &QAction::triggered, list, [list] { list->fire(list->OnEditButtonClick); });
        }
        return edit;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            showOfferedText(*combo, index.data(Qt::EditRole).toString());
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            model->setData(index, combo->currentText(), Qt::EditRole);
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    StringGrid *grid_;
    mutable const QStyleOptionViewItem *current_ = nullptr;
};

StringGrid::StringGrid(QWidget *parent) : QTableWidget(parent), Control(this), fixedColor_(clBtnFace),
                                          delegate_(new GridDelegate(this))
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setItemDelegate(delegate_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);
    setEditing(false);
    setDefaultRowHeight(fontMetrics().height() + 6);
    watchMouse(viewport());
    setColCount(5);
    setRowCount(5);
}

void StringGrid::setColCount(int count)
{
    setColumnCount(count);
    applyFixedLook();
}

void StringGrid::setRowCount(int count)
{
    QTableWidget::setRowCount(count);
    applyFixedLook();
}

void StringGrid::setFixedRows(int rows)
{
    fixedRows_ = rows;
    applyFixedLook();
}

void StringGrid::setFixedCols(int cols)
{
    fixedCols_ = cols;
    applyFixedLook();
}

void StringGrid::setFixedColor(int color)
{
    fixedColor_ = color;
    applyFixedLook();
}

void StringGrid::setDefaultRowHeight(int height)
{
    verticalHeader()->setDefaultSectionSize(height);
}

void StringGrid::setEditing(bool on)
{
    setEditTriggers(on ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                             | QAbstractItemView::AnyKeyPressed
                       : QAbstractItemView::NoEditTriggers);
}

void StringGrid::applyFixedLook()
{
    const QBrush fixed(toQColor(fixedColor_));
    for (int r = 0; r < QTableWidget::rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c) {
            QTableWidgetItem *it = item(r, c);
            const bool isFixed = r < fixedRows_ || c < fixedCols_;
            if (!it) {
                if (!isFixed)
                    continue;
                it = new QTableWidgetItem();
                setItem(r, c, it);
            }
            if (isFixed) {
                it->setBackground(fixed);
                it->setFlags(Qt::ItemIsEnabled);
            } else {
                it->setData(Qt::BackgroundRole, QVariant());
                it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
            }
        }
}

QString StringGrid::cell(int col, int row) const
{
    const QTableWidgetItem *it = item(row, col);
    return it ? it->text() : QString();
}

void StringGrid::setCell(int col, int row, const QString &text)
{
    QTableWidgetItem *it = item(row, col);
    if (!it) {
        it = new QTableWidgetItem();
        const bool isFixed = row < fixedRows_ || col < fixedCols_;
        it->setFlags(isFixed ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
        if (isFixed)
            it->setBackground(toQColor(fixedColor_));
        setItem(row, col, it);
    }
    it->setText(text);
}

bool StringGrid::canSelect(const QModelIndex &index)
{
    if (!index.isValid() || index.row() < fixedRows_ || index.column() < fixedCols_)
        return false;
    bool can = true;
    if (OnSelectCell.assigned()
        && !application().guard(this, [&] { OnSelectCell(this, index.column(), index.row(), can); }))
        return false;
    return can;
}

QModelIndex StringGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    QModelIndex next = QTableWidget::moveCursor(action, modifiers);
    // Fixed cells are never current; a refused cell keeps the current one.
    if (next.isValid() && next.row() < fixedRows_ && (action == MoveUp || action == MovePageUp || action == MoveHome))
        next = model()->index(fixedRows_, next.column());
    if (next == currentIndex())
        return next;
    return canSelect(next) ? next : currentIndex();
}

void StringGrid::mousePressEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton && (columnSizing_ || columnMoving_)) {
        const int edge = columnSizing_ ? edgeAt(p) : -1;
        const int row = rowAt(p.y());
        const int col = columnAt(p.x());
        if (edge >= 0) {
            drag_ = Drag::Size;
            dragCol_ = edge;
        } else if (columnMoving_ && row >= 0 && row < fixedRows_ && col >= fixedCols_) {
            drag_ = Drag::Move;
            dragCol_ = col;
        }
        if (drag_ != Drag::None) {
            event->accept();
            return;
        }
    }
    const QModelIndex target = indexAt(p);
    if (target.isValid() && target != currentIndex() && !canSelect(target)) {
        event->accept();
        return;
    }
    QTableWidget::mousePressEvent(event);
}

void StringGrid::setColWidth(int col, int width)
{
    setColumnHidden(col, width < 0);
    if (width >= 0)
        setColumnWidth(col, width);
}

void StringGrid::setColumnSizing(bool on)
{
    columnSizing_ = on;
    // The sizing cursor shows over an edge before any button is pressed.
    viewport()->setMouseTracking(on);
}

void StringGrid::moveColumn(int from, int to)
{
    const int count = columnCount();
    if (from == to || from < 0 || to < 0 || from >= count || to >= count)
        return;
    QList<QTableWidgetItem *> cells;
    for (int r = 0; r < QTableWidget::rowCount(); ++r)
        cells << takeItem(r, from);
    const int width = colWidth(from);
    const int step = to > from ? 1 : -1;
    for (int c = from; c != to; c += step) {
        for (int r = 0; r < QTableWidget::rowCount(); ++r)
            setItem(r, c, takeItem(r, c + step));
        setColWidth(c, colWidth(c + step));
    }
    for (int r = 0; r < cells.size(); ++r)
        setItem(r, to, cells[r]);
    setColWidth(to, width);
    if (OnColumnMoved.assigned())
        application().guard(this, [&] { OnColumnMoved(this, from, to); });
}

int StringGrid::edgeAt(const QPoint &point) const
{
    const int row = rowAt(point.y());
    if (row < 0 || row >= fixedRows_)
        return -1;
    for (int c = 0; c < columnCount(); ++c)
        if (!isColumnHidden(c) && std::abs(point.x() - (columnViewportPosition(c) + columnWidth(c))) <= 3)
            return c;
    return -1;
}

void StringGrid::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    if (drag_ == Drag::Size) {
        setColumnWidth(dragCol_, std::max(1, p.x() - columnViewportPosition(dragCol_)));
        event->accept();
        return;
    }
    if (drag_ == Drag::Move) {
        event->accept();
        return;
    }
    if (columnSizing_)
        viewport()->setCursor(edgeAt(p) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
    QTableWidget::mouseMoveEvent(event);
}

void StringGrid::mouseReleaseEvent(QMouseEvent *event)
{
    const Drag drag = std::exchange(drag_, Drag::None);
    if (drag == Drag::None) {
        QTableWidget::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    if (drag != Drag::Move)
        return;
    const int x = event->position().toPoint().x();
    int target = columnAt(x);
    if (target < 0)
        target = x < 0 ? fixedCols_ : columnCount() - 1;
    if (target >= fixedCols_)
        moveColumn(dragCol_, target);
}

void StringGrid::defaultDrawCell(int col, int row, const QRect &, GridDrawState)
{
    if (painter_)
        delegate_->paintDefault(painter_, col, row);
}

// ---- ValueListEditor ---------------------------------------------------------------------

ValueListEditor::ValueListEditor(QWidget *parent) : StringGrid(parent)
{
    setColCount(2);
    setRowCount(1);
    setFixedRows(1);
    setFixedCols(0);
    setTitleCaptions(QStringLiteral("Clave"), QStringLiteral("Valor"));
    setEditing(true);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int logical) {
        if (logical == 0)
            fitValueColumn();
    });
}

void ValueListEditor::resizeEvent(QResizeEvent *event)
{
    StringGrid::resizeEvent(event);
    fitValueColumn();
}

void ValueListEditor::fitValueColumn()
{
    // The value column takes the rest of the width.
    setColumnWidth(1, std::max(40, viewport()->width() - columnWidth(0)));
}

void ValueListEditor::setTitleCaptions(const QString &key, const QString &value)
{
    setCell(0, 0, key);
    setCell(1, 0, value);
}

QStringList ValueListEditor::strings() const
{
    QStringList lines;
    for (int r = fixedRows(); r < rowCount(); ++r)
        lines << cell(0, r) + QLatin1Char('=') + cell(1, r);
    return lines;
}

void ValueListEditor::setStrings(const QStringList &lines)
{
    setRowCount(fixedRows());
    for (const QString &line : lines) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        insertRow(eq < 0 ? line : line.left(eq), eq < 0 ? QString() : line.mid(eq + 1));
    }
}

int ValueListEditor::insertRow(const QString &key, const QString &value)
{
    const int row = rowCount();
    setRowCount(row + 1);
    setCell(0, row, key);
    setCell(1, row, value);
    // The name column is read as a label.
    item(row, 0)->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return row;
}

QString ValueListEditor::value(const QString &key) const
{
    for (int r = fixedRows(); r < rowCount(); ++r)
        if (cell(0, r).compare(key, Qt::CaseInsensitive) == 0)
            return cell(1, r);
    return {};
}

void ValueListEditor::setValue(const QString &key, const QString &value)
{
    for (int r = fixedRows(); r < rowCount(); ++r)
        if (cell(0, r).compare(key, Qt::CaseInsensitive) == 0) {
            setCell(1, r, value);
            return;
        }
    insertRow(key, value);
}

} // namespace plat
