#include "platform/ui/data/DBGrid.h"

#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"
#include "platform/ui/Lists.h"
#include "platform/ui/Published.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QScopeGuard>
#include <QStyledItemDelegate>
#include <QTimer>
#include <algorithm>
#include <limits>

namespace plat {

// The rows of the grid's dataset as an item model. It exposes the rows known so far and
// reads a page more when the view scrolls to the end of them (canFetchMore / fetchMore), so
// the first screen never counts or reads the whole table. Inserting a page at a time makes
// the view's header recompute every row's position after each insertion, which grows with
// the square of the rows: once the user has scrolled past a few pages, or jumps to the end,
// the rows are counted once and the view gets them all in one insertion (a query still
// taking its rows from the engine gets them in doubling steps instead, and counts only when
// the user goes to its end). Texts are read a page at a time into a bounded cache (the
// pages far from the one asked for are dropped and read again when the user comes back).
// Texts are the fields' display texts (through their get-text hooks); the current record
// while it is edited or inserted shows the live values.
class GridModel : public QAbstractTableModel
{
public:
    static constexpr int kPage = 64;
    // Rows read a page at a time before the grid counts them all.
    static constexpr qint64 kCountAfter = 4 * kPage;
    // Pages of texts kept at most.
    static constexpr int kMaxPages = 48;

    explicit GridModel(DBGrid *grid) : QAbstractTableModel(grid), grid_(grid) {}

    DataSet *ds() const { return grid_->dataSet(); }
    bool active() const { return ds() && ds()->active(); }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(known_) + (insertRow_ >= 0 ? 1 : 0);
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(grid_->columns_.size());
    }

    bool canFetchMore(const QModelIndex &parent) const override { return !parent.isValid() && active() && !atEnd_; }

    void fetchMore(const QModelIndex &parent) override
    {
        if (!canFetchMore(parent))
            return;
        if (known_ >= kCountAfter) {
            if (const qint64 total = ds()->rowCountWithoutReading(); total >= 0) {
                growTo(total);
                atEnd_ = true;
                return;
            }
            // A query still taking its rows: the view gets them in doubling steps, so the
            // rows are read only as far as the user scrolls.
            if (!ds()->rowValues(2 * known_ - 1, 1).isEmpty()) {
                growTo(2 * known_);
                return;
            }
            knowAllRows();   // all of them read now
            return;
        }
        const qint64 first = known_;
        const int n = int(readPage(first / kPage).size());
        if (n < kPage)
            atEnd_ = true;
        if (n == 0)
            return;
        const int at = int(first) + (insertRow_ >= 0 && insertRow_ <= first ? 1 : 0);
        beginInsertRows({}, at, at + n - 1);
        known_ += n;
        endInsertRows();
    }

    // The view gets every row at once (the dataset counts them, once until it changes).
    void knowAllRows()
    {
        if (atEnd_ || !active())
            return;
        growTo(ds()->rowCount());
        atEnd_ = true;
    }

    // The view gets the rows up to `total` in one insertion.
    void growTo(qint64 total)
    {
        if (total <= known_)
            return;
        const int at = int(known_) + (insertRow_ >= 0 && insertRow_ <= known_ ? 1 : 0);
        beginInsertRows({}, at, at + int(total - known_) - 1);
        known_ = total;
        endInsertRows();
    }

    // Starts again from the first rows (the dataset's rows changed as a whole).
    void reload()
    {
        beginResetModel();
        pages_.clear();
        known_ = 0;
        atEnd_ = !active();
        insertRow_ = -1;
        currentRow_ = -1;
        if (active()) {
            const int n = int(readPage(0).size());
            known_ = n;
            atEnd_ = n < kPage;
        }
        endResetModel();
    }

    // Makes sure the model row exists: a few pages are read, a far row (the last record)
    // is reached by counting the rows once.
    void ensureRow(qint64 row)
    {
        if (row < known_ || atEnd_ || !active())
            return;
        if (row - known_ < 4 * kPage) {
            while (row >= known_ && !atEnd_)
                fetchMore({});
            return;
        }
        knowAllRows();
    }

    qint64 dataRow(int modelRow) const
    {
        if (insertRow_ >= 0 && modelRow > insertRow_)
            return modelRow - 1;
        return modelRow;
    }

    bool isLive(int modelRow) const
    {
        if (modelRow == insertRow_)
            return true;
        const DataSetState s = active() ? ds()->state() : DataSetState::Inactive;
        return s == DataSetState::Edit && modelRow == currentRow_;
    }

    QString textAt(int modelRow, const Field &field) const
    {
        if (isLive(modelRow))
            return field.displayText();
        const qint64 r = dataRow(modelRow);
        const QVector<QStringList> &page = readPage(r / kPage);
        return page.value(int(r % kPage)).value(field.index());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        GridColumn *column = grid_->column(index.column());
        Field *field = column ? column->field_ : nullptr;
        if (!field || !active())
            return {};
        switch (role) {
        case Qt::DisplayRole:
            return textAt(index.row(), *field);
        case Qt::EditRole:
            return isLive(index.row()) || index.row() == currentRow_ ? field->text() : textAt(index.row(), *field);
        case Qt::TextAlignmentRole: {
            Qt::Alignment a = column->Alignment ? column->Alignment : field->alignment;
            if (!column->Alignment && field->isNumeric() && field->alignment == Qt::AlignLeft)
                a = Qt::AlignRight;
            return QVariant::fromValue(Qt::Alignment(a | Qt::AlignVCenter));
        }
        case Qt::BackgroundRole:
            return column->Color != clDefault ? QVariant(toQColor(column->Color)) : QVariant();
        default:
            return {};
        }
    }

    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        GridColumn *column = grid_->column(index.column());
        Field *field = column ? column->field_ : nullptr;
        if (role != Qt::EditRole || !field || !active())
            return false;
        if (!isLive(index.row()) && index.row() != currentRow_)
            return false;   // the view moves the dataset before it edits a row
        bool done = false;
        application().guard(grid_, [&] {
            if (!grid_->source_->Edit())
                return;
            try {
                field->setText(value.toString());
            } catch (const gp::Error &) {
                // Known before the reason is told, which may take the focus from the editor.
                grid_->refuseCell(index, value.toString());
                throw;
            }
            done = true;
        });
        emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
        return done;
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        GridColumn *column = grid_->column(index.column());
        Field *field = column ? column->field_ : nullptr;
        if (field && !column->ReadOnly && !field->readOnly && !field->isCalculated() && grid_->editable())
            f |= Qt::ItemIsEditable;
        return f;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Vertical) {
            if (role != Qt::DisplayRole || section != currentRow_ || !active())
                return {};
            switch (ds()->state()) {
            case DataSetState::Insert: return QStringLiteral("*");
            case DataSetState::Edit: return QStringLiteral("I");
            default: return QStringLiteral("▶");
            }
        }
        GridColumn *column = grid_->column(section);
        if (!column)
            return {};
        switch (role) {
        case Qt::DisplayRole:
            if (!column->TitleCaption.isEmpty())
                return column->TitleCaption;
            return column->field_ ? column->field_->label() : column->FieldName;
        case Qt::FontRole:
            return column->hasTitleFont ? column->TitleFont : grid_->titleFont_;
        case Qt::ForegroundRole: {
            const int c = column->TitleFontColor != clDefault ? column->TitleFontColor : grid_->titleFontColor_;
            return c != clDefault ? QVariant(toQColor(c)) : QVariant();
        }
        default:
            return {};
        }
    }

    // Columns follow the user's moves.
    void moveColumn(int from, int to)
    {
        beginMoveColumns({}, from, from, {}, to > from ? to + 1 : to);
        grid_->columns_.move(from, to);
        endMoveColumns();
    }

    void beginColumnsReset() { beginResetModel(); }
    void appendColumn(GridColumn *column)
    {
        const int at = int(grid_->columns_.size());
        beginInsertColumns({}, at, at);
        grid_->columns_.append(column);
        endInsertColumns();
    }
    void endColumnsReset() { endResetModel(); }

    void startInsert(int at)
    {
        if (insertRow_ >= 0)
            return;
        at = std::clamp(at, 0, int(known_));
        beginInsertRows({}, at, at);
        insertRow_ = at;
        currentRow_ = at;
        endInsertRows();
    }

    void rowChanged(int row)
    {
        if (row >= 0 && row < rowCount())
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        emit headerDataChanged(Qt::Vertical, 0, std::max(0, rowCount() - 1));
    }

    qint64 known_ = 0;
    bool atEnd_ = true;
    int insertRow_ = -1;
    int currentRow_ = -1;

private:
    const QVector<QStringList> &readPage(qint64 page) const
    {
        auto it = pages_.find(page);
        if (it != pages_.end())
            return *it;
        if (pages_.size() >= kMaxPages) {
            // Drop the page farthest from this one.
            auto farthest = pages_.begin();
            for (auto p = pages_.begin(); p != pages_.end(); ++p)
                if (std::llabs(p.key() - page) > std::llabs(farthest.key() - page))
                    farthest = p;
            pages_.erase(farthest);
        }
        return *pages_.insert(page, active() ? ds()->rowDisplayTexts(page * kPage, kPage) : QVector<QStringList>());
    }

    DBGrid *grid_;
    mutable QHash<qint64, QVector<QStringList>> pages_;
};

// Cells drawn by the grid's handler (after the default drawing when DefaultDrawing is on),
// and the editors of pick-list and ellipsis columns.
class DBGridDelegate : public QStyledItemDelegate
{
public:
    explicit DBGridDelegate(DBGrid *grid) : QStyledItemDelegate(grid), grid_(grid) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (!grid_->OnDrawColumnCell.assigned()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        if (grid_->defaultDrawing_)
            QStyledItemDelegate::paint(painter, option, index);
        GridCellState state;
        if (option.state & QStyle::State_Selected) state |= gdsSelected;
        if (option.state & QStyle::State_HasFocus) state |= gdsFocused;
        painter->save();
        Canvas canvas(painter);
        canvas.setFont(grid_->font());
        grid_->canvas_ = &canvas;
        grid_->painter_ = painter;
        grid_->drawingRow_ = index.row();
        grid_->drawOption_ = &option;
        GridColumn *column = grid_->column(index.column());
        application().guard(grid_, [&] { grid_->OnDrawColumnCell(grid_, option.rect, index.column(), column, state); });
        grid_->drawOption_ = nullptr;
        grid_->drawingRow_ = -1;
        grid_->painter_ = nullptr;
        grid_->canvas_ = nullptr;
        painter->restore();
    }

    void paintDefault(QPainter *painter, int row, int col) const
    {
        if (!grid_->drawOption_)
            return;
        QStyleOptionViewItem option = *static_cast<const QStyleOptionViewItem *>(grid_->drawOption_);
        QStyledItemDelegate::paint(painter, option, grid_->model()->index(row, col));
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        // Typing into a cell edits the record from the first key on, as it is stored now.
        if (!grid_->startEditing())
            return nullptr;
        GridColumn *column = grid_->column(index.column());
        if (column && !column->PickList.isEmpty()) {
            auto *combo = new QComboBox(parent);
            combo->setEditable(true);
            keepOnOneLine(*combo->lineEdit());
            combo->addItems(column->PickList);
            // What is typed stays as typed: "5" is not completed to the offered "50".
            combo->setCompleter(nullptr);
            return combo;
        }
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        auto *line = qobject_cast<QLineEdit *>(editor);
        if (line && !(column && column->field() && column->field()->dataType() == ftMemo))
            keepOnOneLine(*line);
        if (column && column->ButtonStyle == cbsEllipsis)
            if (auto *edit = line) {
                QAction *ellipsis = edit->addAction(QIcon(), QLineEdit::TrailingPosition);
                ellipsis->setText(QStringLiteral("…"));
                DBGrid *grid = grid_;
                QObject::connect(ellipsis, &QAction::triggered, grid, [grid] { grid->EditButtonClick(); });
            }
        return editor;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        // A text the field refused comes back as it was typed, selected by the view.
        if (const std::optional<QString> refused = grid_->refusedText(index)) {
            if (auto *combo = qobject_cast<QComboBox *>(editor))
                combo->setCurrentText(*refused);
            else if (auto *line = qobject_cast<QLineEdit *>(editor))
                line->setText(*refused);
            return;
        }
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            showOfferedText(*combo, index.data(Qt::EditRole).toString());
            // As in the other cells, the key that opens the editor replaces the text.
            if (QLineEdit *edit = combo->lineEdit())
                edit->selectAll();
        } else
            QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        if (auto *combo = qobject_cast<QComboBox *>(editor))
            model->setData(index, combo->currentText(), Qt::EditRole);
        else
            QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    DBGrid *grid_;
};

// The title row, drawn by OnDrawTitle when the grid has one.
class GridHeader : public QHeaderView
{
public:
    explicit GridHeader(DBGrid *grid) : QHeaderView(Qt::Horizontal, grid), grid_(grid) {}

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override
    {
        if (!grid_->OnDrawTitle.assigned()) {
            QHeaderView::paintSection(painter, rect, logicalIndex);
            return;
        }
        painter->save();
        Canvas canvas(painter);
        canvas.setFont(grid_->titleFont_);
        canvas.brush().Color = grid_->fixedColor_;
        canvas.FillRect(rect);
        grid_->canvas_ = &canvas;
        GridColumn *column = grid_->column(logicalIndex);
        application().guard(grid_, [&] { grid_->OnDrawTitle(grid_, rect, logicalIndex, column); });
        grid_->canvas_ = nullptr;
        painter->restore();
    }

private:
    DBGrid *grid_;
};

// ---- DBGrid ------------------------------------------------------------------------------

DBGrid::DBGrid(QWidget *parent)
    : QTableView(parent), Control(this), model_(new GridModel(this)), fixedColor_(clBtnFace)
{
    setModel(model_);
    setHorizontalHeader(new GridHeader(this));
    setItemDelegate(new DBGridDelegate(this));
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setHighlightSections(false);
    // Never measure the rows: fixed row heights, no resizing to contents.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    // The row indicator is 12 pixels, as the program's column fitting counts it (with the
    // frame and the scroll bar it keeps 32 pixels of a grid's width to itself).
    verticalHeader()->setFixedWidth(12);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    setTabKeyNavigation(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    setWordWrap(false);
    titleFont_ = font();
    watchMouse(viewport());
    connect(horizontalHeader(), &QHeaderView::sectionMoved, this, &DBGrid::columnMoved);
    connect(this, &QTableView::clicked, this, [this] { fire(OnCellClick); });
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int logicalIndex) {
        GridColumn *clicked = column(logicalIndex);
        if (OnTitleClick.assigned() && clicked)
            application().guard(this, [&] { OnTitleClick(this, clicked); });
    });
    // The scroll bar dragged to its bottom shows the last rows of the dataset.
    connect(verticalScrollBar(), &QScrollBar::sliderMoved, this, [this](int value) {
        if (value == verticalScrollBar()->maximum())
            model_->knowAllRows();
    });
}

DBGrid::~DBGrid()
{
    qDeleteAll(columns_);
}

DataSet *DBGrid::dataSet() const
{
    return source_ ? source_->dataSet() : nullptr;
}

void DBGrid::setDataSource(plat::DataSource *source)
{
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source) {
        connect(source, &DataSource::dataSetReplaced, this, [this] {
            rebuildDefaultColumns();
            model_->reload();
            syncFromDataSet();
        });
        connect(source, &DataSource::rowsChanged, this, [this] {
            if (syncing_)
                return;
            resolveFields();
            model_->reload();
            syncFromDataSet();
        });
        connect(source, &DataSource::recordChanged, this, &DBGrid::syncFromDataSet);
        // A post from code writes the cell being typed first; a refused text stops it.
        connect(source, &DataSource::updateRecordRequested, this, [this] {
            commitCellEditor();
            if (refused_)
                source_->refuseUpdate();
        });
        connect(source, &DataSource::fieldsMoved, this, &DBGrid::followFieldOrder);
        connect(source, &DataSource::fieldChanged, this, [this] { model_->rowChanged(model_->currentRow_); });
        connect(source, &DataSource::stateChanged, this, [this] {
            DataSet *ds = dataSet();
            if (!ds || syncing_)
                return;
            if (ds->state() == DataSetState::Insert) {
                ++cellSerial_;
                // An appended record shows after the last row, an inserted one at the current row.
                if (ds->appending())
                    model_->knowAllRows();
                const bool atEnd = (ds->appending() || ds->eof()) && model_->atEnd_;
                model_->startInsert(atEnd ? int(model_->known_) : std::max(model_->currentRow_, 0));
            }
            else if (model_->insertRow_ >= 0) {
                model_->reload();   // the inserted row was cancelled
                syncFromDataSet();
                return;
            }
            model_->rowChanged(model_->currentRow_);
            if (model_->currentRow_ >= 0)
                moveViewTo(model_->currentRow_, std::max(currentIndex().column(), 0));
        });
    }
    rebuildDefaultColumns();
    model_->reload();
    syncFromDataSet();
}

GridColumn *DBGrid::addColumn(const QString &fieldName)
{
    if (!custom_) {
        model_->beginColumnsReset();
        qDeleteAll(columns_);
        columns_.clear();
        custom_ = true;
        model_->endColumnsReset();
    }
    auto *c = new GridColumn;
    c->FieldName = fieldName;
    model_->appendColumn(c);
    resolveFields();
    applyColumnLook();
    return c;
}

void DBGrid::clearColumns()
{
    custom_ = false;
    rebuildDefaultColumns();
}

GridColumn *DBGrid::column(int index) const
{
    return columns_.value(index);
}

void DBGrid::rebuildDefaultColumns()
{
    if (custom_) {
        resolveFields();
        applyColumnLook();
        return;
    }
    model_->beginColumnsReset();
    qDeleteAll(columns_);
    columns_.clear();
    if (DataSet *ds = dataSet(); ds && ds->active())
        for (int i = 0; i < ds->fieldCount(); ++i)
            if (ds->field(i).visible) {
                auto *c = new GridColumn;
                c->FieldName = ds->field(i).fieldName();
                columns_.append(c);
            }
    resolveFields();
    model_->endColumnsReset();
    applyColumnLook();
}

// Default columns stand in field order; each keeps its own settings (shown, width) as its
// field moves. The rows read before hold their values in the old field order.
void DBGrid::followFieldOrder()
{
    if (!custom_) {
        const auto fieldIndex = [](const GridColumn *c) {
            return c->field_ ? c->field_->index() : std::numeric_limits<int>::max();
        };
        QList<GridColumn *> ordered = columns_;
        std::stable_sort(ordered.begin(), ordered.end(),
                         [&](const GridColumn *a, const GridColumn *b) { return fieldIndex(a) < fieldIndex(b); });
        if (ordered != columns_) {
            model_->beginColumnsReset();
            columns_ = ordered;
            model_->endColumnsReset();
            applyColumnLook();
        }
    }
    model_->reload();
    syncFromDataSet();
}

void DBGrid::resolveFields()
{
    DataSet *ds = dataSet();
    const bool active = ds && ds->active();
    for (GridColumn *c : columns_)
        c->field_ = active ? ds->findField(c->FieldName) : nullptr;
}

void DBGrid::updateColumns()
{
    resolveFields();
    applyColumnLook();
    emit model_->headerDataChanged(Qt::Horizontal, 0, std::max(0, int(columns_.size()) - 1));
    viewport()->update();
}

int DBGrid::characterWidth() const { return fontMetrics().horizontalAdvance(QLatin1Char('0')); }

int DBGrid::shownWidth(int index) const
{
    const GridColumn *c = column(index);
    if (!c)
        return 0;
    if (c->Width > 0)
        return c->shown_ > 0 && c->Width == c->shownFor_ ? c->shown_ : widthScale().toScreen(c->Width);
    const int chars = c->field_ ? c->field_->effectiveDisplayWidth() : 10;
    const QString title = model_->headerData(index, Qt::Horizontal, Qt::DisplayRole).toString();
    return std::max(std::min(chars, 40) * characterWidth() + 8, QFontMetrics(titleFont_).horizontalAdvance(title) + 12);
}

void DBGrid::setShownWidth(int index, int pixels)
{
    GridColumn *c = column(index);
    if (!c || pixels <= 0)
        return;
    c->Width = std::max(1, widthScale().toProgram(pixels));
    c->shown_ = pixels;
    c->shownFor_ = c->Width;
    setColumnWidth(index, pixels);
}

void DBGrid::applyColumnLook()
{
    for (int i = 0; i < columns_.size(); ++i) {
        setColumnWidth(i, shownWidth(i));
        setColumnHidden(i, !columns_[i]->Visible);
    }
}

void DBGrid::setTitleFont(const QFont &font)
{
    titleFont_ = font;
    horizontalHeader()->setFont(font);
    updateColumns();
}

void DBGrid::setTitleFontColor(int color)
{
    titleFontColor_ = color;
    updateColumns();
}

void DBGrid::setFixedColor(int color)
{
    fixedColor_ = color;
    QPalette p = horizontalHeader()->palette();
    p.setColor(QPalette::Button, toQColor(color));
    p.setColor(QPalette::Window, toQColor(color));
    horizontalHeader()->setPalette(p);
    verticalHeader()->setPalette(p);
}

void DBGrid::setReadOnly(bool on)
{
    readOnly_ = on;
    viewport()->update();
}

void DBGrid::setRowSelect(bool on)
{
    rowSelect_ = on;
    setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

void DBGrid::setIndicator(bool on)
{
    indicator_ = on;
    verticalHeader()->setVisible(on);
}

void DBGrid::setMultiSelect(bool on)
{
    multiSelect_ = on;
    setSelectionMode(on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    if (on)
        setSelectionBehavior(QAbstractItemView::SelectRows);
    else
        setRowSelect(rowSelect_);
}

int DBGrid::selectedIndex() const
{
    return currentIndex().isValid() ? currentIndex().column() : 0;
}

void DBGrid::setSelectedIndex(int index)
{
    const int row = currentIndex().isValid() ? currentIndex().row() : std::max(model_->currentRow_, 0);
    setCurrentIndex(model_->index(row, index));
}

Field *DBGrid::selectedField() const
{
    GridColumn *c = column(selectedIndex());
    return c ? c->field_ : nullptr;
}

void DBGrid::setSelectedField(Field *field)
{
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i]->field_ == field) {
            setSelectedIndex(i);
            return;
        }
}

QList<Bookmark> DBGrid::selectedRows()
{
    QList<Bookmark> result;
    DataSet *ds = dataSet();
    if (!ds || !ds->active() || !selectionModel())
        return result;
    QList<int> rows;
    for (const QModelIndex &i : selectionModel()->selectedRows())
        rows << i.row();
    std::sort(rows.begin(), rows.end());
    if (rows.isEmpty())
        return result;
    // Each selected row is visited for its bookmark; the dataset goes back afterwards.
    const Bookmark here = ds->bookmark();
    syncing_ = true;
    application().guard(this, [&] {
        for (int r : rows) {
            if (r == model_->insertRow_)
                continue;
            ds->moveToRow(model_->dataRow(r));
            result << ds->bookmark();
        }
        if (here.isValid())
            ds->gotoBookmark(here);
    });
    syncing_ = false;
    return result;
}

void DBGrid::clearSelectedRows()
{
    if (selectionModel())
        selectionModel()->clearSelection();
}

bool DBGrid::drawingEditedRow() const
{
    return drawingRow_ >= 0 && model_->isLive(drawingRow_);
}

QString DBGrid::drawnText(const QString &fieldName) const
{
    DataSet *ds = dataSet();
    Field *f = ds && ds->active() ? ds->findField(fieldName) : nullptr;
    if (!f || drawingRow_ < 0)
        return {};
    return model_->textAt(drawingRow_, *f);
}

void DBGrid::DefaultDrawColumnCell(const QRect &, int dataCol, GridColumn *, GridCellState)
{
    if (painter_ && drawingRow_ >= 0)
        static_cast<DBGridDelegate *>(itemDelegate())->paintDefault(painter_, drawingRow_, dataCol);
}

int DBGrid::fetchedRows() const
{
    return int(model_->known_);
}

void DBGrid::EditButtonClick()
{
    if (OnEditButtonClick.assigned()) {
        fire(OnEditButtonClick);
        return;
    }
    Form *form = Form::formOf(this);
    if (!form)
        return;
    const QString method = objectName() + QStringLiteral("EditButtonClick");
    application().guard(this, [&] { invokeMethod(form, method, this); });
}

bool DBGrid::leaveColumn(const QModelIndex &target)
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !target.isValid() || target.column() == current.column())
        return true;
    if (!OnColExit.assigned())
        return true;
    return application().guard(this, [this] { OnColExit(this); });
}

QModelIndex DBGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    // Ctrl+End goes to the last row of the dataset, not of the rows read so far.
    if (action == MoveEnd && (modifiers & Qt::ControlModifier))
        model_->knowAllRows();
    QModelIndex next = QTableView::moveCursor(action, modifiers);
    return leaveColumn(next) ? next : currentIndex();
}

void DBGrid::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex target = indexAt(event->position().toPoint());
    if (target.isValid() && !leaveColumn(target)) {
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
    reselectCurrent();
}

void DBGrid::keyPressEvent(QKeyEvent *event)
{
    const bool plain = !(event->modifiers() & ~Qt::KeypadModifier);
    if (enterAsTab_ && state() != EditingState && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && plain) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
        QTableView::keyPressEvent(&tab);
        event->setAccepted(tab.isAccepted());
        reselectCurrent();
        return;
    }
    if (plain && event->key() == Qt::Key_Down && downFromLastRow()) {
        event->accept();
        return;
    }
    if (plain && event->key() == Qt::Key_Insert && editable()) {
        insertRow();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
    reselectCurrent();
}

bool DBGrid::editable() const
{
    DataSet *ds = dataSet();
    return !readOnly_ && ds && ds->active() && ds->canModify() && source_->autoEdit();
}

void DBGrid::commitCellEditor()
{
    if (state() != EditingState)
        return;
    QWidget *editor = QApplication::focusWidget();
    while (editor && editor->parentWidget() != viewport())
        editor = editor->parentWidget();
    if (!editor)
        return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool DBGrid::startEditing()
{
    DataSet *ds = dataSet();
    if (!ds || !ds->active())
        return false;
    if (ds->state() == DataSetState::Edit || ds->state() == DataSetState::Insert)
        return true;
    bool editing = false;
    application().guard(this, [&] { editing = source_->Edit(); });
    return editing;
}

bool DBGrid::postRow()
{
    DataSet *ds = dataSet();
    if (ds->state() != DataSetState::Edit && ds->state() != DataSetState::Insert)
        return true;
    return application().guard(this, [&] {
        source_->UpdateRecord();
        ds->post();
    });
}

// Down on the last row (or in a grid with none) posts the row and, when the table may be
// edited, appends a new one; a new row left as it came stays where it is.
bool DBGrid::downFromLastRow()
{
    DataSet *ds = dataSet();
    if (!ds || !ds->active())
        return false;
    const int row = currentIndex().isValid() ? currentIndex().row() : -1;
    model_->ensureRow(row + 1);
    if (row + 1 < model_->rowCount())
        return false;   // the view moves down, posting as it leaves the row
    commitCellEditor();
    if (ds->state() == DataSetState::Insert && !ds->modified())
        return true;
    if (!postRow()) {
        moveViewTo(model_->currentRow_, std::max(currentIndex().column(), 0));
        return true;
    }
    if (ds->state() == DataSetState::Browse && editable())
        application().guard(this, [&] { ds->append(); });
    return true;
}

void DBGrid::insertRow()
{
    commitCellEditor();
    // The dataset posts (or drops, when untouched) the row being edited before inserting.
    if (!application().guard(this, [&] { dataSet()->insert(); }))
        moveViewTo(model_->currentRow_, std::max(currentIndex().column(), 0));
}

void DBGrid::reselectCurrent()
{
    // The view selects the row it was moving to even when the grid settled elsewhere (a
    // refused post, a dropped new row).
    if (!reselect_)
        return;
    reselect_ = false;
    if (model_->currentRow_ >= 0)
        moveViewTo(model_->currentRow_, std::max(currentIndex().column(), 0));
}

void DBGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    ++cellSerial_;
    // A refused cell keeps the row: the cursor goes back to it.
    if (syncing_ || refused_)
        return;
    // A post below reloads the model: keep the cell as numbers.
    const int row = current.row();
    const int col = current.column();
    const bool columnChanged = col != previous.column();
    DataSet *ds = dataSet();
    if (ds && ds->active() && current.isValid() && row != model_->currentRow_) {
        // Leaving an edited row posts it; a failed post keeps the grid on the row. A new row
        // left as it came is dropped instead, and the rows below it move up.
        const int from = model_->currentRow_;
        int target = row;
        bool ok = true;
        if (ds->state() == DataSetState::Insert && !ds->modified()) {
            const int inserted = model_->insertRow_;
            syncing_ = true;
            ok = application().guard(this, [&] { ds->cancel(); });
            syncing_ = false;
            model_->reload();
            if (inserted >= 0 && target > inserted)
                --target;
            reselect_ = true;   // the row the view moved to is gone or has moved
        } else {
            ok = postRow();
        }
        if (ok && ds->state() == DataSetState::Browse) {
            syncing_ = true;
            ok = application().guard(this, [&] { ds->moveToRow(model_->dataRow(target)); });
            syncing_ = false;
        }
        const int at = ok ? target : (model_->currentRow_ >= 0 ? model_->currentRow_ : from);
        model_->currentRow_ = at;
        moveViewTo(at, col);
        model_->rowChanged(from);
        model_->rowChanged(at);
        if (!ok) {
            reselect_ = true;
            return;
        }
    }
    if (columnChanged)
        fire(OnColEnter);
}

void DBGrid::refuseCell(const QModelIndex &cell, const QString &text)
{
    refused_ = RefusedCell{QPersistentModelIndex(cell), text, false};
}

std::optional<QString> DBGrid::refusedText(const QModelIndex &cell) const
{
    if (refused_ && refused_->reopening && refused_->cell == cell)
        return refused_->text;
    return std::nullopt;
}

void DBGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (!refused_) {
        QTableView::closeEditor(editor, hint);
        return;
    }
    // The editor goes, the cursor stays: the value is typed again in the same cell.
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    QTimer::singleShot(0, this, &DBGrid::reopenRefusedCell);
}

void DBGrid::reopenRefusedCell()
{
    if (!refused_ || refused_->reopening)
        return;
    const QModelIndex cell = refused_->cell;
    DataSet *ds = dataSet();
    const bool editing = ds && ds->active() && ds->state() != DataSetState::Browse;
    if (!cell.isValid() || !editing || !isVisible()) {
        refused_.reset();
        return;
    }
    refused_->reopening = true;
    const auto done = qScopeGuard([this] { refused_.reset(); });
    setFocus(Qt::OtherFocusReason);
    setCurrentIndex(cell);
    edit(cell);
}

void DBGrid::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    // Rows and columns are measured in the grid's font.
    if (event->type() == QEvent::FontChange) {
        verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
        applyColumnLook();
    }
}

void DBGrid::syncFromDataSet()
{
    if (syncing_)
        return;
    DataSet *ds = dataSet();
    if (!ds || !ds->active()) {
        model_->currentRow_ = -1;
        return;
    }
    int row = -1;
    if (model_->insertRow_ >= 0)
        row = model_->insertRow_;
    else if (!ds->isEmpty()) {
        const qint64 r = ds->currentRow();
        model_->ensureRow(r);
        row = int(r);
    }
    const int before = model_->currentRow_;
    model_->currentRow_ = row;
    model_->rowChanged(before);
    model_->rowChanged(row);
    if (row >= 0)
        moveViewTo(row, std::max(currentIndex().column(), 0));
}

void DBGrid::moveViewTo(int row, int col)
{
    // The view follows the dataset; a multi-row selection stays as the user made it.
    QItemSelectionModel::SelectionFlags how = QItemSelectionModel::NoUpdate;
    if (!multiSelect_)
        how = QItemSelectionModel::ClearAndSelect | (rowSelect_ ? QItemSelectionModel::Rows : QItemSelectionModel::NoUpdate);
    syncing_ = true;
    if (selectionModel())
        selectionModel()->setCurrentIndex(model_->index(row, col), how);
    syncing_ = false;
}

void DBGrid::columnMoved(int, int oldVisual, int newVisual)
{
    // The header goes back to its plain order; the columns themselves move.
    QHeaderView *h = horizontalHeader();
    {
        const QSignalBlocker block(h);
        h->moveSection(newVisual, oldVisual);
    }
    // A default column carries its field along: the field takes the place of the one whose
    // column it was dropped on.
    const GridColumn *movedColumn = custom_ ? nullptr : columns_.value(oldVisual);
    const GridColumn *targetColumn = custom_ ? nullptr : columns_.value(newVisual);
    Field *moved = movedColumn ? movedColumn->field_ : nullptr;
    const Field *target = targetColumn ? targetColumn->field_ : nullptr;
    model_->moveColumn(oldVisual, newVisual);
    applyColumnLook();
    if (moved && target)
        moved->setIndex(target->index());
    if (OnColumnMoved.assigned())
        application().guard(this, [&] { OnColumnMoved(this, oldVisual, newVisual); });
}

} // namespace plat
