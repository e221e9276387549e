// Datasets against the same work done with plain QtSql on the same SQLite file.
// The data file (1,000,000 rows, and a 10,000-row twin to show that opening does not
// depend on the size) is made once per run in a temporary folder.
#include "ArranqueBenchmarks.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

using namespace plat;

namespace {

constexpr int bigRows = 1000000;
constexpr int smallRows = 10000;

struct BenchData
{
    QTemporaryDir dir;
    Session session;
    QSqlDatabase plain;

    BenchData()
    {
        Connection &db = session.connection(QStringLiteral("Database"));
        db.setDatabaseName(dir.path());
        make(db, QStringLiteral("GRANDE"), bigRows);
        make(db, QStringLiteral("PEQUENA"), smallRows);
        make(db, QStringLiteral("ALTAS"), 0);
        make(db, QStringLiteral("ALTASQT"), 0);
        plain = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("plain"));
        plain.setDatabaseName(dir.path() + QStringLiteral("/datos.sqlite"));
        plain.open();
        QSqlQuery(plain).exec(QStringLiteral("PRAGMA synchronous=FULL"));
    }

    static void make(Connection &db, const QString &name, int rows)
    {
        TableDef t;
        t.name = name;
        t.fields = {fieldDef(QStringLiteral("Codigo"), ftInteger, 0, true), fieldDef(QStringLiteral("Nombre"), ftString, 40),
                    fieldDef(QStringLiteral("Importe"), ftFloat), fieldDef(QStringLiteral("Fecha"), ftDateTime)};
        IndexDef primary;
        primary.name = QStringLiteral("Clave1");
        primary.fields = {QStringLiteral("Codigo")};
        primary.primary = primary.unique = true;
        t.indexes = {primary};
        db.createTable(t);
        if (rows == 0)
            return;
        db.startTransaction();
        QSqlQuery q(QSqlDatabase::database(db.qtConnectionName()));
        q.prepare(QStringLiteral("INSERT INTO %1 (Codigo, Nombre, Importe, Fecha) VALUES (?, ?, ?, ?)").arg(name));
        // Keys are written out of order, as a table filled over the years would be.
        for (int i = 0; i < rows; ++i) {
            const int code = int((qint64(i) * 7919) % rows) + 1;
            q.addBindValue(code);
            q.addBindValue(QStringLiteral("Cliente %1").arg(code));
            q.addBindValue(double(code % 1000) / 10.0);
            q.addBindValue(QStringLiteral("2024-01-01 00:00:00"));
            q.exec();
        }
        db.commit();
    }
};

BenchData &data()
{
    static BenchData d;
    return d;
}

Connection &db()
{
    return data().session.connection(QStringLiteral("Database"));
}

void OpenAndShowFirst50(benchmark::State &state, const char *table)
{
    for (auto _ : state) {
        TableDataSet t(QStringLiteral("Tabla"));
        t.setConnection(&db());
        t.setTableName(QString::fromLatin1(table));
        t.open();
        const auto rows = t.rowValues(0, 50);
        benchmark::DoNotOptimize(rows);
        if (rows.size() != 50)
            state.SkipWithError("short first screen");
    }
}
BENCHMARK_CAPTURE(OpenAndShowFirst50, Dataset1M, "GRANDE")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenAndShowFirst50, Dataset10k, "PEQUENA")->Unit(benchmark::kMillisecond);

void OpenAndShowFirst50QtSql(benchmark::State &state)
{
    for (auto _ : state) {
        QSqlQuery q(data().plain);
        q.setForwardOnly(true);
        q.exec(QStringLiteral("SELECT Codigo, Nombre, Importe, Fecha FROM GRANDE ORDER BY Codigo LIMIT 50"));
        int n = 0;
        while (q.next())
            benchmark::DoNotOptimize(q.value(1)), ++n;
        if (n != 50)
            state.SkipWithError("short first screen");
    }
}
BENCHMARK(OpenAndShowFirst50QtSql)->Unit(benchmark::kMillisecond);

// A grid dragged to the bottom of the table, and to its middle.
void GridJump(benchmark::State &state)
{
    const qint64 first = state.range(0);
    for (auto _ : state) {
        TableDataSet t(QStringLiteral("Tabla"));
        t.setConnection(&db());
        t.setTableName(QStringLiteral("GRANDE"));
        t.open();
        const auto rows = t.rowValues(first, 50);
        if (rows.size() != 50 || rows[0].value(0).toLongLong() != first + 1)
            state.SkipWithError("wrong rows");
    }
}
BENCHMARK(GridJump)->Arg(bigRows - 50)->Arg(bigRows / 2)->Unit(benchmark::kMillisecond);

void FindKey(benchmark::State &state)
{
    TableDataSet t(QStringLiteral("Tabla"));
    t.setConnection(&db());
    t.setTableName(QStringLiteral("GRANDE"));
    t.open();
    int code = 1;
    for (auto _ : state) {
        code = (code * 48271) % bigRows + 1;
        if (!t.findKey({code}))
            state.SkipWithError("key not found");
    }
}
BENCHMARK(FindKey)->Unit(benchmark::kMicrosecond);

void LocateByKey(benchmark::State &state)
{
    TableDataSet t(QStringLiteral("Tabla"));
    t.setConnection(&db());
    t.setTableName(QStringLiteral("GRANDE"));
    t.open();
    int code = 1;
    for (auto _ : state) {
        code = (code * 48271) % bigRows + 1;
        if (!t.locate(QStringLiteral("Codigo"), code))
            state.SkipWithError("key not found");
    }
}
BENCHMARK(LocateByKey)->Unit(benchmark::kMicrosecond);

void LocateByKeyQtSql(benchmark::State &state)
{
    QSqlQuery q(data().plain);
    q.prepare(QStringLiteral("SELECT Codigo, Nombre, Importe, Fecha FROM GRANDE WHERE Codigo = ?"));
    int code = 1;
    for (auto _ : state) {
        code = (code * 48271) % bigRows + 1;
        q.addBindValue(code);
        q.exec();
        if (!q.next())
            state.SkipWithError("key not found");
        benchmark::DoNotOptimize(q.value(1));
    }
}
BENCHMARK(LocateByKeyQtSql)->Unit(benchmark::kMicrosecond);

constexpr int postedRecords = 10000;  // GP_BENCH_POSTS overrides it for quick runs

void Post10000OnePerTransaction(benchmark::State &state)
{
    for (auto _ : state) {
        db().exec(QStringLiteral("DELETE FROM ALTAS"));
        TableDataSet t(QStringLiteral("Altas"));
        t.setConnection(&db());
        t.setTableName(QStringLiteral("ALTAS"));
        t.open();
        for (int i = 1; i <= postedRecords; ++i) {
            t.append();
            t.fieldByName(QStringLiteral("Codigo")).setAsInteger(i);
            t.fieldByName(QStringLiteral("Nombre")).setAsString(QStringLiteral("Alta %1").arg(i));
            t.fieldByName(QStringLiteral("Importe")).setAsFloat(i / 3.0);
            t.fieldByName(QStringLiteral("Fecha")).setAsDateTime(QDateTime(QDate(2024, 5, 1), QTime(10, 0)));
            t.post();
        }
    }
}
BENCHMARK(Post10000OnePerTransaction)->Unit(benchmark::kMillisecond)->Iterations(1);

void Post10000OnePerTransactionQtSql(benchmark::State &state)
{
    QSqlDatabase &plain = data().plain;
    for (auto _ : state) {
        QSqlQuery(plain).exec(QStringLiteral("DELETE FROM ALTASQT"));
        QSqlQuery q(plain);
        q.prepare(QStringLiteral("INSERT INTO ALTASQT (Codigo, Nombre, Importe, Fecha) VALUES (?, ?, ?, ?)"));
        for (int i = 1; i <= postedRecords; ++i) {
            plain.transaction();
            q.addBindValue(i);
            q.addBindValue(QStringLiteral("Alta %1").arg(i));
            q.addBindValue(i / 3.0);
            q.addBindValue(QStringLiteral("2024-05-01 10:00:00"));
            q.exec();
            plain.commit();
        }
    }
}
BENCHMARK(Post10000OnePerTransactionQtSql)->Unit(benchmark::kMillisecond)->Iterations(1);

// A filter that keeps one row in a thousand, read from the first to the last.
void FilteredScan(benchmark::State &state)
{
    for (auto _ : state) {
        TableDataSet t(QStringLiteral("Tabla"));
        t.setConnection(&db());
        t.setTableName(QStringLiteral("GRANDE"));
        t.open();
        t.setFilter(QStringLiteral("(Importe = '12,5') AND (Codigo < '500000')"));
        t.setFiltered(true);
        int n = 0;
        for (t.first(); !t.eof(); t.next())
            ++n;
        state.counters["rows"] = n;
    }
}
BENCHMARK(FilteredScan)->Unit(benchmark::kMillisecond);

void FilteredScanQtSql(benchmark::State &state)
{
    for (auto _ : state) {
        QSqlQuery q(data().plain);
        q.setForwardOnly(true);
        q.exec(QStringLiteral("SELECT Codigo, Nombre, Importe, Fecha FROM GRANDE "
                              "WHERE Importe = 12.5 AND Codigo < 500000 ORDER BY Codigo"));
        int n = 0;
        while (q.next())
            ++n;
        state.counters["rows"] = n;
    }
}
BENCHMARK(FilteredScanQtSql)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    ArranqueBenchmarks arranque(argc, argv, ArranqueBenchmarks::Aplicacion::Consola);
    data();   // made before any timing
    return arranque.ejecutar();
}
