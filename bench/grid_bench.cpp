// The data grid over tables of 1,000 / 100,000 / 1,000,000 rows: its first screen, going to
// the last row, and scrolling through every page, set against Qt's own QSqlQueryModel +
// QTableView scrolled the same way over the same SQLite file in the same run. Each case
// also reports the peak memory it added to the process (MiB above what the process held
// when the iteration began).
#include "ArranqueBenchmarks.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataSource.h"

#include <QFile>
#include <QPixmap>
#include <QScrollBar>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <malloc.h>

using namespace plat;

namespace {

QString tableFor(int rows)
{
    return QStringLiteral("T%1").arg(rows);
}

struct GridBenchData
{
    QTemporaryDir dir;
    Session session;
    QSqlDatabase plain;

    GridBenchData()
    {
        Connection &db = session.connection(QStringLiteral("Database"));
        db.setDatabaseName(dir.path());
        for (int rows : {1000, 100000, 1000000})
            make(db, tableFor(rows), rows);
        plain = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("plain"));
        plain.setDatabaseName(dir.path() + QStringLiteral("/datos.sqlite"));
        plain.open();
    }

    static void make(Connection &db, const QString &name, int rows)
    {
        TableDef t;
        t.name = name;
        t.fields = {fieldDef(QStringLiteral("Codigo"), ftInteger, 0, true),
                    fieldDef(QStringLiteral("Nombre"), ftString, 40), fieldDef(QStringLiteral("Importe"), ftFloat),
                    fieldDef(QStringLiteral("Fecha"), ftDateTime)};
        IndexDef primary;
        primary.name = QStringLiteral("Clave1");
        primary.fields = {QStringLiteral("Codigo")};
        primary.primary = primary.unique = true;
        t.indexes = {primary};
        db.createTable(t);
        db.startTransaction();
        db.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                               "INSERT INTO %2 (Codigo, Nombre, Importe, Fecha) "
                               "SELECT i, 'Cliente ' || i, (i % 1000) / 10.0, '2024-01-01 00:00:00' FROM n")
                    .arg(rows)
                    .arg(name),
                {}, SqlOrigin::AsWritten);
        db.commit();
    }
};

GridBenchData &data()
{
    static GridBenchData d;
    return d;
}

// The process's resident memory (kB) now and at its peak since the peak was last reset.
qint64 statusKb(const char *key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

// Measures the peak resident memory added while it lives.
class PeakMemory
{
public:
    PeakMemory()
    {
        malloc_trim(0);   // memory freed earlier goes back, so the peak counts what this case adds
        QFile f(QStringLiteral("/proc/self/clear_refs"));
        if (f.open(QIODevice::WriteOnly))
            f.write("5");   // resets the peak to the current size
        start_ = statusKb("VmRSS:");
    }
    double addedMiB() const { return double(statusKb("VmHWM:") - start_) / 1024.0; }

private:
    qint64 start_;
};

// Views whose geometry (scroll bar range) is brought up to date without painting.
class GridUnderTest : public DBGrid
{
public:
    using DBGrid::updateGeometries;
};
class TableUnderTest : public QTableView
{
public:
    using QTableView::updateGeometries;
};

// Scrolls the view a screen at a time from the top to its last row, reading every shown
// cell as painting would; answers the last row shown.
template<typename View> int scrollThroughEveryPage(View &view)
{
    QAbstractItemModel *model = view.model();
    QScrollBar *bar = view.verticalScrollBar();
    const int columns = model->columnCount();
    int shown = 0;
    for (;;) {
        view.updateGeometries();
        const int top = view.rowAt(0);
        int bottom = view.rowAt(view.viewport()->height() - 1);
        if (bottom < 0)
            bottom = model->rowCount() - 1;
        for (int r = top; r <= bottom; ++r)
            for (int c = 0; c < columns; ++c)
                benchmark::DoNotOptimize(model->index(r, c).data());
        shown = bottom;
        if (bar->value() >= bar->maximum() && !model->canFetchMore({}))
            break;
        if (bar->value() >= bar->maximum())
            model->fetchMore({});   // as the view does when its scroll bar reaches the end
        else
            bar->setValue(bar->value() + bar->pageStep());
    }
    return shown;
}

void BM_GridFirstScreen(benchmark::State &state)
{
    Connection &db = data().session.connection(QStringLiteral("Database"));
    GridUnderTest grid;
    grid.resize(1024, 768);
    DataSource source;
    int rows = 0;
    double peak = 0;
    for (auto _ : state) {
        PeakMemory memory;
        TableDataSet ds(QStringLiteral("Table1"));
        ds.setConnection(&db);
        ds.setTableName(tableFor(int(state.range(0))));
        ds.open();
        source.setDataSet(&ds);
        grid.setDataSource(&source);
        const QPixmap shot = grid.grab();
        benchmark::DoNotOptimize(shot.cacheKey());
        rows = grid.fetchedRows();
        peak = memory.addedMiB();
        source.setDataSet(nullptr);
    }
    state.counters["rows_known"] = rows;
    state.counters["peak_MiB"] = peak;
}

// The navigator's last button: the dataset goes to its last record and the grid shows it.
void BM_GridLastRow(benchmark::State &state)
{
    Connection &db = data().session.connection(QStringLiteral("Database"));
    GridUnderTest grid;
    grid.resize(1024, 768);
    DataSource source;
    int row = 0;
    double peak = 0;
    for (auto _ : state) {
        PeakMemory memory;
        TableDataSet ds(QStringLiteral("Table1"));
        ds.setConnection(&db);
        ds.setTableName(tableFor(int(state.range(0))));
        ds.open();
        source.setDataSet(&ds);
        grid.setDataSource(&source);
        ds.last();
        const QPixmap shot = grid.grab();
        benchmark::DoNotOptimize(shot.cacheKey());
        row = grid.currentIndex().row();
        peak = memory.addedMiB();
        source.setDataSet(nullptr);
    }
    if (row != state.range(0) - 1)
        state.SkipWithError("the grid is not on the last row");
    state.counters["peak_MiB"] = peak;
}

void BM_GridScrollEveryPage(benchmark::State &state)
{
    Connection &db = data().session.connection(QStringLiteral("Database"));
    int last = 0;
    double peak = 0;
    for (auto _ : state) {
        PeakMemory memory;
        TableDataSet ds(QStringLiteral("Table1"));
        ds.setConnection(&db);
        ds.setTableName(tableFor(int(state.range(0))));
        ds.open();
        DataSource source;
        source.setDataSet(&ds);
        GridUnderTest grid;
        grid.resize(1024, 768);
        grid.setDataSource(&source);
        last = scrollThroughEveryPage(grid);
        peak = memory.addedMiB();
    }
    if (last != state.range(0) - 1)
        state.SkipWithError("the scroll did not reach the last row");
    state.counters["peak_MiB"] = peak;
}

// The anchor: Qt's own model and view over the same rows in the same order.
void BM_QtQueryModelScrollEveryPage(benchmark::State &state)
{
    data();
    int last = 0;
    double peak = 0;
    for (auto _ : state) {
        PeakMemory memory;
        QSqlQueryModel model;
        model.setQuery(QStringLiteral("SELECT Codigo, Nombre, Importe, Fecha FROM %1 ORDER BY Codigo")
                           .arg(tableFor(int(state.range(0)))),
                       data().plain);
        TableUnderTest view;
        view.resize(1024, 768);
        view.setModel(&model);
        last = scrollThroughEveryPage(view);
        peak = memory.addedMiB();
    }
    if (last != state.range(0) - 1)
        state.SkipWithError("the scroll did not reach the last row");
    state.counters["peak_MiB"] = peak;
}

BENCHMARK(BM_GridFirstScreen)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridLastRow)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridScrollEveryPage)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_QtQueryModelScrollEveryPage)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    ArranqueBenchmarks arranque(argc, argv);
    data();   // made before any timing
    return arranque.ejecutar();
}
