// Showing a data grid's first screen over a table: the time from opening the table to the
// first screen drawn must not depend on the table's size (a lazy view reads one page).
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataSource.h"

#include <QApplication>
#include <QPixmap>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace plat;

namespace {

struct GridBenchData
{
    QTemporaryDir dir;
    Session session;

    GridBenchData()
    {
        Connection &db = session.connection(QStringLiteral("Database"));
        db.setDatabaseName(dir.path());
        make(db, QStringLiteral("GRANDE"), 1000000);
        make(db, QStringLiteral("PEQUENA"), 1000);
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

// Open the table, bind a 1024 x 768 grid to it and draw the grid once.
void firstScreen(benchmark::State &state, const QString &table)
{
    Connection &db = data().session.connection(QStringLiteral("Database"));
    DBGrid grid;
    grid.resize(1024, 768);
    DataSource source;
    int rows = 0;
    for (auto _ : state) {
        TableDataSet ds(QStringLiteral("Table1"));
        ds.setConnection(&db);
        ds.setTableName(table);
        ds.open();
        source.setDataSet(&ds);
        grid.setDataSource(&source);
        const QPixmap shot = grid.grab();
        benchmark::DoNotOptimize(shot.cacheKey());
        rows = grid.fetchedRows();
        source.setDataSet(nullptr);
    }
    state.counters["rows_read"] = rows;
}

void BM_GridFirstScreen_1000000Rows(benchmark::State &state) { firstScreen(state, QStringLiteral("GRANDE")); }
void BM_GridFirstScreen_1000Rows(benchmark::State &state) { firstScreen(state, QStringLiteral("PEQUENA")); }

// Scrolling down a page at a time through the first 10,000 rows of the big table.
void BM_GridScroll10000Rows(benchmark::State &state)
{
    Connection &db = data().session.connection(QStringLiteral("Database"));
    for (auto _ : state) {
        TableDataSet ds(QStringLiteral("Table1"));
        ds.setConnection(&db);
        ds.setTableName(QStringLiteral("GRANDE"));
        ds.open();
        DataSource source;
        source.setDataSet(&ds);
        DBGrid grid;
        grid.resize(1024, 768);
        grid.setDataSource(&source);
        while (grid.fetchedRows() < 10000)
            grid.model()->fetchMore({});
        benchmark::DoNotOptimize(grid.model()->index(9999, 1).data());
    }
}

BENCHMARK(BM_GridFirstScreen_1000000Rows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridFirstScreen_1000Rows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridScroll10000Rows)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    data();   // the tables are made before any timing
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
