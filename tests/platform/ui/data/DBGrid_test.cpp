#include "tests/platform/ui/data/GridFixture.h"

#include "tests/platform/data/RowsInPackets.h"
#include "platform/ui/Form.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataSource.h"
#include "platform/data/engine/EngineErrors.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QScopeGuard>
#include <QTest>
#include <gtest/gtest.h>

using namespace plat;

namespace {

class GridTest : public gptest::GridData
{
protected:
    void show(int rows)
    {
        if (rows > 0)
            fill(rows);
        open();
        source.setDataSet(table.get());
        grid.setDataSource(&source);
        grid.resize(600, 400);
        grid.show();
    }
    QString cellText(int row, const QString &field)
    {
        for (int c = 0; c < grid.columnCount(); ++c)
            if (grid.column(c)->FieldName == field)
                return grid.model()->index(row, c).data().toString();
        return QStringLiteral("(no column)");
    }
    int columnOf(const QString &field)
    {
        for (int c = 0; c < grid.columnCount(); ++c)
            if (grid.column(c)->FieldName == field)
                return c;
        return -1;
    }
    // Types text into the current cell as a person would: the first key opens the cell's
    // editor, the rest go to it.
    void type(const QString &text)
    {
        QTest::keyClick(&grid, text.at(0).toLatin1());
        QWidget *editor = QApplication::focusWidget();
        ASSERT_NE(editor, &grid) << "no cell editor opened";
        ASSERT_TRUE(editor && grid.viewport()->isAncestorOf(editor));
        if (text.size() > 1)
            QTest::keyClicks(editor, text.mid(1));
    }
    QWidget *cellEditor() const
    {
        QWidget *w = QApplication::focusWidget();
        return w && grid.viewport()->isAncestorOf(w) ? w : nullptr;
    }
    // The rows that hold a selected cell.
    QList<int> selectedRows() const
    {
        QList<int> rows;
        for (const QModelIndex &i : grid.selectionModel()->selectedIndexes())
            if (!rows.contains(i.row()))
                rows << i.row();
        return rows;
    }
    void showActive(int rows)
    {
        show(rows);
        QApplication::setActiveWindow(&grid);
        grid.setFocus();
    }
    DataSource source;
    DBGrid grid;
};

// A form that publishes the ellipsis handler of its grid.
class GridForm : public Form
{
    Q_OBJECT
public:
    GridForm() { grid = make<DBGrid>(QStringLiteral("DBGrid1"), this); }
    DBGrid *grid;
    int clicks = 0;
public slots:
    void DBGrid1EditButtonClick(QObject *Sender)
    {
        EXPECT_EQ(Sender, grid);
        ++clicks;
    }
};

} // namespace

TEST_F(GridTest, ShowsTheFirstScreenWithoutReadingTheWholeTable)
{
    show(5000);
    EXPECT_EQ(grid.columnCount(), 5);
    EXPECT_LE(grid.fetchedRows(), 128);
    EXPECT_EQ(cellText(0, "Nombre"), "Artículo 1");
    EXPECT_EQ(cellText(2, "Precio"), "4,5");
    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal).toString(), "Codigo");
    // Scrolling to the end of what was read reads one page more.
    const int before = grid.fetchedRows();
    grid.scrollToBottom();
    QCoreApplication::processEvents();
    grid.model()->fetchMore({});
    EXPECT_GT(grid.fetchedRows(), before);
    EXPECT_LT(grid.fetchedRows(), 5000);
    // Going to the last record counts the rows once and shows it.
    table->last();
    EXPECT_EQ(grid.fetchedRows(), 5000);
    EXPECT_EQ(grid.currentIndex().row(), 4999);
}

TEST_F(GridTest, ScrollingOnCountsTheRowsOnceAndKeepsOnlyThePagesAroundTheShownOnes)
{
    fill(20000);
    open();
    int reads = 0;
    table->fieldByName("Nombre").OnGetText = [&reads](Field &f, QString &text, bool) {
        ++reads;
        text = f.asString();
    };
    source.setDataSet(table.get());
    grid.setDataSource(&source);
    grid.resize(600, 400);
    grid.show();
    // Past a few pages read one at a time, the view gets every row in one step.
    for (int i = 0; i < 5 && grid.model()->canFetchMore({}); ++i)
        grid.model()->fetchMore({});
    EXPECT_EQ(grid.model()->rowCount(), 20000);
    EXPECT_FALSE(grid.model()->canFetchMore({}));
    // Rows far away are dropped from the cache and read again when shown again.
    EXPECT_EQ(cellText(0, "Nombre"), "Artículo 1");
    for (int row = 64; row < 20000; row += 64)
        EXPECT_EQ(cellText(row, "Nombre"), QStringLiteral("Artículo %1").arg(row + 1));
    reads = 0;
    EXPECT_EQ(cellText(0, "Nombre"), "Artículo 1");
    EXPECT_GT(reads, 0) << "the first page was read again";
    reads = 0;
    EXPECT_EQ(cellText(1, "Nombre"), "Artículo 2");
    EXPECT_EQ(reads, 0) << "the page just read is kept";
}

TEST_F(GridTest, AQueryStillTakingItsRowsIsReadOnlyAsFarAsTheUserScrolls)
{
    gptest::RowsInPackets query(100000, 100);
    query.open();
    source.setDataSet(&query);
    grid.setDataSource(&source);
    grid.resize(600, 400);
    grid.show();
    QList<int> known;
    for (int i = 0; i < 6; ++i) {
        grid.model()->fetchMore({});
        known << grid.model()->rowCount();
    }
    EXPECT_EQ(known, (QList<int>{128, 192, 256, 512, 1024, 2048})) << "a page at a time, then doubling";
    EXPECT_LT(query.produced, 2200);
    EXPECT_EQ(grid.model()->index(2047, 1).data().toString(), "t2048");
    // Going to its end reads and counts it all.
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid.model()->rowCount(), 100000);
    EXPECT_EQ(query.fieldByName("N").asInteger(), 100000);
    source.setDataSet(nullptr);
}

TEST_F(GridTest, CtrlEndAndTheScrollBarAtTheBottomReachTheLastRowOfTheTable)
{
    show(5000);
    grid.setFocus();
    grid.setCurrentIndex(grid.model()->index(0, 1));
    QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid.currentIndex().row(), 4999);
    EXPECT_EQ(table->fieldByName("Codigo").asInteger(), 5000);

    table->first();
    source.setDataSet(nullptr);
    source.setDataSet(table.get());
    ASSERT_LT(grid.model()->rowCount(), 5000);
    QScrollBar *bar = grid.verticalScrollBar();
    bar->setSliderDown(true);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    bar->setSliderPosition(bar->maximum());
    emit bar->sliderMoved(bar->maximum());
    bar->setSliderDown(false);
    EXPECT_EQ(grid.model()->rowCount(), 5000);
}

TEST_F(GridTest, ACellIsEditedAndPostedWhenTheRowChanges)
{
    show(20);
    grid.setCurrentIndex(grid.model()->index(3, columnOf("Nombre")));
    EXPECT_EQ(table->fieldByName("Codigo").asInteger(), 4);
    ASSERT_TRUE(grid.model()->setData(grid.currentIndex(), QStringLiteral("Tuerca M6"), Qt::EditRole));
    EXPECT_EQ(table->state(), DataSetState::Edit);
    EXPECT_EQ(grid.model()->headerData(3, Qt::Vertical).toString(), "I");
    EXPECT_EQ(cellText(3, "Nombre"), "Tuerca M6");
    grid.setCurrentIndex(grid.model()->index(5, columnOf("Nombre")));
    EXPECT_EQ(table->state(), DataSetState::Browse);
    EXPECT_EQ(table->fieldByName("Codigo").asInteger(), 6);
    EXPECT_EQ(grid.currentIndex().row(), 5) << "the grid stays on the row it moved to";
    EXPECT_EQ(grid.model()->headerData(5, Qt::Vertical).toString(), "▶");
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Nombre FROM ARTICULOS WHERE Codigo = 4"), {}, SqlOrigin::AsWritten)
                  .toString(),
              "Tuerca M6");
    EXPECT_EQ(cellText(3, "Nombre"), "Tuerca M6");

    // Typed through the editor as a person would.
    grid.setFocus();
    grid.setCurrentIndex(grid.model()->index(1, columnOf("Precio")));
    grid.edit(grid.currentIndex());
    auto *editor = grid.viewport()->findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("12,25"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();   // the delegate commits after the key
    EXPECT_EQ(table->state(), DataSetState::Edit);
    table->post();
    EXPECT_DOUBLE_EQ(db().scalar(QStringLiteral("SELECT Precio FROM ARTICULOS WHERE Codigo = 2"), {},
                                 SqlOrigin::AsWritten).toDouble(), 12.25);
}

TEST_F(GridTest, MultiRowSelectionGivesTheBookmarksOfTheRows)
{
    show(30);
    grid.setMultiSelect(true);
    auto *sel = grid.selectionModel();
    sel->setCurrentIndex(grid.model()->index(10, 0), QItemSelectionModel::NoUpdate);
    EXPECT_EQ(table->fieldByName("Codigo").asInteger(), 11);
    for (int r : {2, 7, 4})
        sel->select(grid.model()->index(r, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const QList<Bookmark> marks = grid.selectedRows();
    ASSERT_EQ(marks.size(), 3);
    EXPECT_EQ(table->fieldByName("Codigo").asInteger(), 11) << "the dataset goes back to its record";
    QList<qint64> codes;
    for (const Bookmark &b : marks) {
        table->gotoBookmark(b);
        codes << table->fieldByName("Codigo").asInteger();
    }
    EXPECT_EQ(codes, (QList<qint64>{3, 5, 8}));
}

TEST_F(GridTest, CellsShowWhatTheGetTextHookReturns)
{
    fill(10);
    open();
    table->fieldByName("Activo").OnGetText = [](Field &f, QString &text, bool) {
        text = f.asString() == QLatin1String("SI") ? QStringLiteral("Sí") : QStringLiteral("—");
    };
    source.setDataSet(table.get());
    grid.setDataSource(&source);
    grid.show();
    EXPECT_EQ(cellText(0, "Activo"), "—");
    EXPECT_EQ(cellText(1, "Activo"), "Sí");
    EXPECT_EQ(cellText(9, "Activo"), "Sí");
}

TEST_F(GridTest, ColumnsTitlesMovesAndColumnExit)
{
    fill(5);
    open();
    source.setDataSet(table.get());
    grid.setDataSource(&source);
    GridColumn *nombre = grid.addColumn(QStringLiteral("Nombre"));
    nombre->TitleCaption = QStringLiteral("Descripción");
    GridColumn *precio = grid.addColumn(QStringLiteral("Precio"));
    precio->ReadOnly = true;
    grid.addColumn(QStringLiteral("Codigo"))->Visible = false;
    grid.updateColumns();
    grid.resize(500, 300);
    grid.show();
    EXPECT_EQ(grid.columnCount(), 3);
    EXPECT_TRUE(grid.isColumnHidden(2));
    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal).toString(), "Descripción");
    EXPECT_FALSE(grid.model()->flags(grid.model()->index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_TRUE(grid.model()->flags(grid.model()->index(0, 0)) & Qt::ItemIsEditable);

    QList<QPair<int, int>> moves;
    grid.OnColumnMoved = [&](QObject *, int from, int to) { moves << qMakePair(from, to); };
    grid.horizontalHeader()->moveSection(1, 0);
    ASSERT_EQ(moves.size(), 1);
    EXPECT_EQ(moves[0], qMakePair(1, 0));
    EXPECT_EQ(grid.column(0), precio);
    EXPECT_EQ(grid.model()->index(0, 0).data().toString(), "1,5");

    // A column-exit handler that aborts keeps the current column.
    bool stay = true;
    grid.OnColExit = [&](QObject *) {
        if (stay)
            throw gp::Abort();
    };
    grid.setFocus();
    grid.setCurrentIndex(grid.model()->index(0, 0));
    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_EQ(grid.selectedIndex(), 0);
    stay = false;
    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_EQ(grid.selectedIndex(), 1);
    EXPECT_EQ(grid.selectedField(), nombre->field());
}

// A field moved among its dataset's fields keeps its values, the record being edited and
// the filter reading the right field; a default column moved by the user moves its field, and
// moved fields take their columns (hidden ones too) along.
TEST_F(GridTest, MovedFieldsAndDefaultColumnsFollowEachOther)
{
    show(6);
    const auto fieldOrder = [&] { return table->fieldNames(); };
    const auto columnOrder = [&] {
        QStringList names;
        for (int c = 0; c < grid.columnCount(); ++c)
            names << grid.column(c)->FieldName;
        return names;
    };
    table->setFilter(QStringLiteral("Precio > 4"));
    table->setFiltered(true);
    table->first();
    table->edit();
    table->fieldByName(QStringLiteral("Nombre")).setAsString(QStringLiteral("Editado"));
    grid.column(columnOf(QStringLiteral("Activo")))->Visible = false;

    table->fieldByName(QStringLiteral("Precio")).setIndex(0);
    EXPECT_EQ(fieldOrder(), (QStringList{"Precio", "Codigo", "Nombre", "Activo", "Familia"}));
    EXPECT_EQ(columnOrder(), fieldOrder());
    EXPECT_FALSE(grid.column(columnOf(QStringLiteral("Activo")))->Visible);
    EXPECT_EQ(table->field(2).asString(), QStringLiteral("Editado"));
    EXPECT_EQ(table->fieldByName(QStringLiteral("Codigo")).asInteger(), 3);
    table->post();
    table->refresh();
    EXPECT_EQ(table->recordCount(), 4);   // Precio 4.5 .. 9: the filter still reads Precio
    table->fieldByName(QStringLiteral("Familia")).setIndex(99);
    EXPECT_EQ(table->fieldByName(QStringLiteral("Familia")).index(), 4);

    grid.horizontalHeader()->moveSection(columnOf(QStringLiteral("Nombre")), 0);
    EXPECT_EQ(fieldOrder(), (QStringList{"Nombre", "Precio", "Codigo", "Activo", "Familia"}));
    EXPECT_EQ(columnOrder(), fieldOrder());
    EXPECT_EQ(cellText(0, QStringLiteral("Nombre")), QStringLiteral("Editado"));
}

TEST_F(GridTest, EllipsisButtonsCallTheFormsHandlerByName)
{
    fill(3);
    open();
    source.setDataSet(table.get());
    std::unique_ptr<GridForm> form(createForm<GridForm>());
    form->grid->setDataSource(&source);
    form->grid->addColumn(QStringLiteral("Nombre"))->ButtonStyle = cbsEllipsis;
    form->Show();
    form->grid->setCurrentIndex(form->grid->model()->index(0, 0));
    form->grid->edit(form->grid->currentIndex());
    auto *editor = form->grid->viewport()->findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    ASSERT_FALSE(editor->actions().isEmpty());
    editor->actions().first()->trigger();
    EXPECT_EQ(form->clicks, 1);
}

TEST_F(GridTest, InsertedRowsShowUntilPostedOrCancelled)
{
    show(4);
    table->first();
    table->next();
    table->insert();
    EXPECT_EQ(grid.model()->rowCount(), 5);
    EXPECT_EQ(grid.model()->headerData(1, Qt::Vertical).toString(), "*");
    table->fieldByName("Codigo").setAsInteger(100);
    table->fieldByName("Nombre").setAsString(QStringLiteral("Nuevo"));
    EXPECT_EQ(cellText(1, "Nombre"), "Nuevo");
    table->cancel();
    EXPECT_EQ(grid.model()->rowCount(), 4);
    table->append();
    table->fieldByName("Codigo").setAsInteger(100);
    table->fieldByName("Nombre").setAsString(QStringLiteral("Nuevo"));
    table->post();
    EXPECT_EQ(grid.model()->rowCount(), 5);
    EXPECT_EQ(cellText(4, "Nombre"), "Nuevo");
}

TEST_F(GridTest, OwnerDrawnCellsAndTitlesAndEnterAsTab)
{
    show(6);
    QStringList drawnNames;
    QList<int> titles;
    grid.OnDrawColumnCell = [&](QObject *, const QRect &rect, int col, GridColumn *column, GridCellState state) {
        if (column->FieldName != QLatin1String("Nombre"))
            return;
        drawnNames << grid.drawnText(QStringLiteral("Nombre"));
        // A row whose "Activo" says "NO" is painted red over the default drawing.
        if (grid.drawnText(QStringLiteral("Activo")) == QLatin1String("NO")) {
            grid.canvas()->brush().Color = clRed;
            grid.canvas()->FillRect(rect);
        } else {
            grid.DefaultDrawColumnCell(rect, col, column, state);
        }
    };
    grid.OnDrawTitle = [&](QObject *, const QRect &rect, int col, GridColumn *) {
        titles << col;
        grid.canvas()->TextOut(rect.left() + 2, rect.top() + 2, QStringLiteral("T%1").arg(col));
    };
    const QImage shot = grid.grab().toImage();
    EXPECT_TRUE(drawnNames.contains(QStringLiteral("Artículo 1")));
    EXPECT_TRUE(drawnNames.contains(QStringLiteral("Artículo 6")));
    EXPECT_FALSE(titles.isEmpty());
    const int nombre = columnOf("Nombre");
    const QPoint odd = grid.visualRect(grid.model()->index(0, nombre)).center() + grid.viewport()->pos();
    const QPoint even = grid.visualRect(grid.model()->index(1, nombre)).center() + grid.viewport()->pos();
    EXPECT_EQ(shot.pixelColor(odd), QColor(255, 0, 0));   // record 1 is not active
    EXPECT_NE(shot.pixelColor(even), QColor(255, 0, 0));

    grid.setEnterAsTab(true);
    grid.setFocus();
    grid.setCurrentIndex(grid.model()->index(2, 0));
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_EQ(grid.currentIndex().column(), 1);
    EXPECT_EQ(grid.currentIndex().row(), 2);
}

// Focus going to a grid's cell editor and back neither leaves nor enters the grid, so a handler
// that starts each entry in the first column (as a window's grid does) lets Tab go on in order.
TEST_F(GridTest, CellEditorsNeitherLeaveNorEnterTheirGrid)
{
    showActive(3);
    int entered = 0, left = 0;
    grid.OnEnter = [&](QObject *) { ++entered, grid.setSelectedIndex(0); };
    grid.OnExit = [&](QObject *) { ++left; };
    for (int column = 0; column + 1 < grid.columnCount(); ++column) {
        grid.edit(grid.model()->index(0, column));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(grid.currentIndex().column(), column + 1);
    }
    EXPECT_EQ(entered + left, 0);
    table->cancel();
}

// Rows are entered from the keyboard: Down in an empty grid or on the last row appends one,
// Down off a typed new row posts it and starts the next, a new row left untouched stays,
// and Insert opens a row at the current one.
TEST_F(GridTest, DownOnTheLastRowAppendsAndPostsRowsAndInsertOpensOne)
{
    showActive(0);
    // A default given to every new row is no typing.
    table->OnNewRecord = [](DataSet &ds) { ds.fieldByName(QStringLiteral("Activo")).setAsString(QStringLiteral("NO")); };
    ASSERT_EQ(grid.model()->rowCount(), 0);
    QTest::keyClick(&grid, Qt::Key_Down);
    ASSERT_EQ(table->state(), DataSetState::Insert);
    EXPECT_EQ(grid.model()->rowCount(), 1);
    EXPECT_EQ(grid.currentIndex().row(), 0);
    EXPECT_EQ(grid.model()->headerData(0, Qt::Vertical).toString(), "*");

    for (int codigo : {7, 8}) {
        grid.setCurrentIndex(grid.model()->index(grid.currentIndex().row(), columnOf("Codigo")));
        type(QString::number(codigo));
        QTest::keyClick(&grid, Qt::Key_Tab);
        type(QStringLiteral("Tuerca %1").arg(codigo));
        EXPECT_EQ(cellText(grid.currentIndex().row(), "Nombre"), "");   // still in its editor
        QTest::keyClick(cellEditor(), Qt::Key_Down);
        EXPECT_EQ(db().scalar(QStringLiteral("SELECT Nombre FROM ARTICULOS WHERE Codigo = %1").arg(codigo), {},
                              SqlOrigin::AsWritten)
                      .toString(),
                  QStringLiteral("Tuerca %1").arg(codigo));
        EXPECT_EQ(table->state(), DataSetState::Insert) << "the next new row";
    }
    EXPECT_EQ(grid.model()->rowCount(), 3);
    EXPECT_EQ(grid.currentIndex().row(), 2);
    // A new row nobody typed in stays as it is, and leaving it upwards drops it.
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.model()->rowCount(), 3);
    EXPECT_EQ(table->state(), DataSetState::Insert);
    QTest::keyClick(&grid, Qt::Key_Up);
    EXPECT_EQ(table->state(), DataSetState::Browse);
    EXPECT_EQ(grid.model()->rowCount(), 2);
    EXPECT_EQ(grid.currentIndex().row(), 1);
    EXPECT_EQ(selectedRows(), QList<int>{1});
    EXPECT_EQ(table->fieldByName("Codigo").asInteger(), 8);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM ARTICULOS"), {}, SqlOrigin::AsWritten).toInt(), 2);

    // An edited last row posts on Down, and a new one follows it.
    grid.setCurrentIndex(grid.model()->index(1, columnOf("Nombre")));
    type(QStringLiteral("Arandela"));
    QTest::keyClick(cellEditor(), Qt::Key_Down);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Nombre FROM ARTICULOS WHERE Codigo = 8"), {}, SqlOrigin::AsWritten)
                  .toString(),
              "Arandela");
    EXPECT_EQ(table->state(), DataSetState::Insert);
    EXPECT_EQ(grid.model()->rowCount(), 3);
    EXPECT_EQ(grid.currentIndex().row(), 2) << "appended after the last row";
    EXPECT_EQ(grid.model()->headerData(2, Qt::Vertical).toString(), "*");
    EXPECT_EQ(cellText(1, "Nombre"), "Arandela");
    table->cancel();

    // Insert opens a new row at the current one.
    grid.setCurrentIndex(grid.model()->index(0, columnOf("Codigo")));
    QTest::keyClick(&grid, Qt::Key_Insert);
    EXPECT_EQ(table->state(), DataSetState::Insert);
    EXPECT_EQ(grid.model()->rowCount(), 3);
    EXPECT_EQ(grid.model()->headerData(0, Qt::Vertical).toString(), "*");
    table->cancel();

    // A grid that may not edit adds nothing.
    grid.setReadOnly(true);
    grid.setCurrentIndex(grid.model()->index(1, 0));
    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_Insert);
    EXPECT_EQ(table->state(), DataSetState::Browse);
    EXPECT_EQ(grid.model()->rowCount(), 2);
}

// A save refused when the row is left (another user changed the same value) keeps the
// edited row current and highlighted, with what was typed, whether the row was left by the
// keyboard or by the mouse.
TEST_F(GridTest, ARefusedPostKeepsTheEditedRowCurrentAndHighlighted)
{
    QStringList errors;
    application().OnException = [&](QObject *, const std::exception &e) { errors << QString::fromUtf8(e.what()); };
    const auto restore = qScopeGuard([] { application().OnException = nullptr; });
    grid.setRowSelect(true);
    showActive(6);
    grid.setCurrentIndex(grid.model()->index(2, columnOf("Nombre")));
    type(QStringLiteral("Tornillo"));
    db().exec(QStringLiteral("UPDATE ARTICULOS SET Nombre = 'Otro' WHERE Codigo = 3"), {}, SqlOrigin::AsWritten);
    QTest::keyClick(cellEditor(), Qt::Key_Down);
    ASSERT_EQ(errors.size(), 1) << table->fieldByName("Nombre").asString().toStdString() << " state "
                                << int(table->state()) << " row " << grid.currentIndex().row();
    EXPECT_EQ(table->state(), DataSetState::Edit);
    EXPECT_EQ(grid.currentIndex().row(), 2);
    EXPECT_EQ(selectedRows(), QList<int>{2});
    EXPECT_EQ(cellText(2, "Nombre"), "Tornillo");
    EXPECT_EQ(grid.model()->headerData(2, Qt::Vertical).toString(), "I");

    const QRect fifth = grid.visualRect(grid.model()->index(4, columnOf("Precio")));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, fifth.center());
    EXPECT_EQ(errors.size(), 2);
    EXPECT_EQ(grid.currentIndex().row(), 2);
    EXPECT_EQ(selectedRows(), QList<int>{2});
    EXPECT_EQ(cellText(2, "Nombre"), "Tornillo");
    EXPECT_EQ(table->fieldByName("Codigo").asInteger(), 3);
}

// A cell text its field refuses opens again in the same cell, selected, with the row still
// current and in edit, whether the cell was left by Tab or by a click on another row; a
// line break or tab pasted into a cell of a one-line field becomes a blank.
TEST_F(GridTest, ARefusedCellTextOpensAgainSelectedInItsCell)
{
    QStringList errors;
    application().OnException = [&](QObject *, const std::exception &e) { errors << QString::fromUtf8(e.what()); };
    const auto restore = qScopeGuard([] { application().OnException = nullptr; });
    showActive(6);
    const QModelIndex precio = grid.model()->index(2, columnOf("Precio"));
    grid.setCurrentIndex(precio);
    type(QStringLiteral("32/1"));
    for (const bool porRaton : {false, true}) {
        SCOPED_TRACE(porRaton);
        errors.clear();
        QTest::keyClick(cellEditor(), Qt::Key_End);
        QTest::keyClicks(cellEditor(), porRaton ? QStringLiteral("3") : QStringLiteral("2"));
        if (porRaton)
            QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                              grid.visualRect(grid.model()->index(4, columnOf("Nombre"))).center());
        else
            QTest::keyClick(cellEditor(), Qt::Key_Tab);
        QCoreApplication::processEvents();
        EXPECT_EQ(errors.size(), 1);
        EXPECT_EQ(grid.currentIndex(), precio);
        auto *editor = qobject_cast<QLineEdit *>(cellEditor());
        ASSERT_NE(editor, nullptr);
        const QString escrito = porRaton ? QStringLiteral("32/123") : QStringLiteral("32/12");
        EXPECT_EQ(editor->text(), escrito);
        EXPECT_EQ(editor->selectedText(), escrito);
        EXPECT_EQ(table->state(), DataSetState::Edit);
        EXPECT_EQ(table->fieldByName("Codigo").asInteger(), 3);
        EXPECT_DOUBLE_EQ(table->fieldByName("Precio").asFloat(), 4.5);
    }
    QTest::keyClicks(cellEditor(), QStringLiteral("7"));
    QTest::keyClick(cellEditor(), Qt::Key_Tab);
    EXPECT_DOUBLE_EQ(table->fieldByName("Precio").asFloat(), 7.0);
    EXPECT_EQ(errors.size(), 1);

    grid.setCurrentIndex(grid.model()->index(2, columnOf("Nombre")));
    type(QStringLiteral("x"));
    qobject_cast<QLineEdit *>(cellEditor())->insert(QStringLiteral("linea1\r\nlinea2\tTAB"));
    QTest::keyClick(cellEditor(), Qt::Key_Tab);
    EXPECT_EQ(table->fieldByName("Nombre").asString(), "xlinea1 linea2 TAB");
}

// The editor of a pick-list cell replaces the cell's text with the key that opens it, as
// the other cells do: "5" on "50" is "5".
TEST_F(GridTest, TheFirstKeyReplacesThePickListCellsText)
{
    fill(3);
    db().exec(QStringLiteral("UPDATE ARTICULOS SET Nombre = '50' WHERE Codigo = 2"), {}, SqlOrigin::AsWritten);
    open();
    source.setDataSet(table.get());
    grid.setDataSource(&source);
    grid.addColumn(QStringLiteral("Codigo"));
    grid.addColumn(QStringLiteral("Nombre"))->PickList = {QStringLiteral("10"), QStringLiteral("50"), QStringLiteral("75")};
    grid.updateColumns();
    grid.show();
    QApplication::setActiveWindow(&grid);
    grid.setFocus();
    grid.setCurrentIndex(grid.model()->index(1, 1));
    type(QStringLiteral("5"));
    QWidget *editor = cellEditor();
    auto *combo = editor ? qobject_cast<QComboBox *>(editor) : nullptr;
    if (!combo && editor)
        combo = qobject_cast<QComboBox *>(editor->parentWidget());
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->currentText(), "5");
    QTest::keyClick(cellEditor(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(table->fieldByName("Nombre").asString(), "5");
}

// The program's pixel widths grow with the font in use, so that the date a column was made
// for still fits; a width given on screen (a fitting) is kept as given.
TEST_F(GridTest, ColumnWidthsFollowTheFontAndScreenWidthsStayAsGiven)
{
    const WidthScale reference(WidthScale::kReferenceDigit, WidthScale::kReferenceAverage);
    EXPECT_EQ(reference.toScreen(68), 68);
    const WidthScale wide(8, 7);   // the larger of 8/6 and 7/5
    EXPECT_EQ(wide.toScreen(68), 95);
    EXPECT_EQ(wide.toProgram(95), 68);
    EXPECT_EQ(WidthScale(0, 0).toScreen(41), 41);

    show(3);
    grid.addColumn(QStringLiteral("Codigo"))->Width = 68;
    grid.addColumn(QStringLiteral("Nombre"))->Width = 41;
    grid.column(1)->TitleCaption = QStringLiteral("Tiempo");
    for (int points : {8, 9, 12, 16}) {
        SCOPED_TRACE(points);
        QFont font = grid.font();
        font.setPointSize(points);
        grid.setFont(font);
        const QFontMetrics metrics(font);
        EXPECT_EQ(grid.columnWidth(0), grid.widthScale().toScreen(68));
        EXPECT_GE(grid.columnWidth(0), metrics.horizontalAdvance(QStringLiteral("07/12/2026")) + 4);
        EXPECT_GE(grid.columnWidth(1), metrics.horizontalAdvance(QStringLiteral("Tiempo")) + 4);
    }
    grid.setShownWidth(0, 301);
    grid.updateColumns();
    EXPECT_EQ(grid.columnWidth(0), 301);
    EXPECT_EQ(grid.shownWidth(0), 301);
    EXPECT_EQ(grid.column(0)->Width, grid.widthScale().toProgram(301));
    // A width set again by the program is scaled again.
    grid.column(0)->Width = 50;
    grid.updateColumns();
    EXPECT_EQ(grid.columnWidth(0), grid.widthScale().toScreen(50));
}

#include "DBGrid_test.moc"
