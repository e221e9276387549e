// Datasets against the same work done raw with the sqlite3 C API on the same SQLite file,
// opened as the engine opens it (WAL, synchronous=FULL), through prepared statements.
// The data file (1,000,000 rows, and a 10,000-row twin to show that opening does not
// depend on the size) is made once per run in a temporary folder.
#include "ArranqueBenchmarks.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <sqlite3.h>

using namespace plat;

namespace {

constexpr int bigRows = 1000000;
constexpr int smallRows = 10000;

struct BenchData
{
    QTemporaryDir dir;
    Session session;
    sqlite3 *raw = nullptr;

    BenchData()
    {
        Connection &db = session.connection(QStringLiteral("Database"));
        db.setDatabaseName(dir.path());
        make(db, QStringLiteral("GRANDE"), bigRows);
        make(db, QStringLiteral("PEQUENA"), smallRows);
        make(db, QStringLiteral("ALTAS"), 0);
        make(db, QStringLiteral("ALTASC"), 0);
        const QByteArray file = QFile::encodeName(dir.path() + QStringLiteral("/datos.sqlite"));
        if (sqlite3_open_v2(file.constData(), &raw, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            qFatal("the data file cannot be opened raw: %s", sqlite3_errmsg(raw));
        sqlite3_busy_timeout(raw, 5000);
        sqlite3_exec(raw, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    }
    ~BenchData() { sqlite3_close(raw); }

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

// A statement of the raw anchors, prepared on the raw connection.
struct Raw
{
    sqlite3_stmt *stmt = nullptr;
    explicit Raw(const char *text) { sqlite3_prepare_v2(data().raw, text, -1, &stmt, nullptr); }
    ~Raw() { sqlite3_finalize(stmt); }
};

// Every column of the row read as a screen reads it; the texts are touched so that the reads
// cannot be left out.
void readRow(sqlite3_stmt *s)
{
    benchmark::DoNotOptimize(sqlite3_column_int64(s, 0));
    benchmark::DoNotOptimize(sqlite3_column_text(s, 1));
    benchmark::DoNotOptimize(sqlite3_column_double(s, 2));
    benchmark::DoNotOptimize(sqlite3_column_text(s, 3));
}

void OpenAndShowFirst50Sqlite3(benchmark::State &state)
{
    for (auto _ : state) {
        Raw q("SELECT Codigo, Nombre, Importe, Fecha FROM GRANDE ORDER BY Codigo LIMIT 50");
        int n = 0;
        while (sqlite3_step(q.stmt) == SQLITE_ROW)
            readRow(q.stmt), ++n;
        if (n != 50)
            state.SkipWithError("short first screen");
    }
}
BENCHMARK(OpenAndShowFirst50Sqlite3)->Unit(benchmark::kMillisecond);

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

void LocateByKeySqlite3(benchmark::State &state)
{
    Raw q("SELECT Codigo, Nombre, Importe, Fecha FROM GRANDE WHERE Codigo = ?");
    int code = 1;
    for (auto _ : state) {
        code = (code * 48271) % bigRows + 1;
        sqlite3_bind_int64(q.stmt, 1, code);
        if (sqlite3_step(q.stmt) != SQLITE_ROW)
            state.SkipWithError("key not found");
        else
            readRow(q.stmt);
        sqlite3_reset(q.stmt);
    }
}
BENCHMARK(LocateByKeySqlite3)->Unit(benchmark::kMicrosecond);

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

void Post10000OnePerTransactionSqlite3(benchmark::State &state)
{
    sqlite3 *raw = data().raw;
    for (auto _ : state) {
        sqlite3_exec(raw, "DELETE FROM ALTASC", nullptr, nullptr, nullptr);
        Raw begin("BEGIN IMMEDIATE"), commit("COMMIT");
        Raw q("INSERT INTO ALTASC (Codigo, Nombre, Importe, Fecha) VALUES (?, ?, ?, ?)");
        for (int i = 1; i <= postedRecords; ++i) {
            sqlite3_step(begin.stmt);
            sqlite3_reset(begin.stmt);
            const QByteArray name = QByteArrayLiteral("Alta ") + QByteArray::number(i);
            sqlite3_bind_int64(q.stmt, 1, i);
            sqlite3_bind_text(q.stmt, 2, name.constData(), int(name.size()), SQLITE_TRANSIENT);
            sqlite3_bind_double(q.stmt, 3, i / 3.0);
            sqlite3_bind_text(q.stmt, 4, "2024-05-01 10:00:00", -1, SQLITE_STATIC);
            if (sqlite3_step(q.stmt) != SQLITE_DONE)
                state.SkipWithError(sqlite3_errmsg(raw));
            sqlite3_reset(q.stmt);
            if (sqlite3_step(commit.stmt) != SQLITE_DONE)
                state.SkipWithError(sqlite3_errmsg(raw));
            sqlite3_reset(commit.stmt);
        }
    }
}
BENCHMARK(Post10000OnePerTransactionSqlite3)->Unit(benchmark::kMillisecond)->Iterations(1);

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

void FilteredScanSqlite3(benchmark::State &state)
{
    for (auto _ : state) {
        Raw q("SELECT Codigo, Nombre, Importe, Fecha FROM GRANDE "
              "WHERE Importe = 12.5 AND Codigo < 500000 ORDER BY Codigo");
        int n = 0;
        while (sqlite3_step(q.stmt) == SQLITE_ROW)
            readRow(q.stmt), ++n;
        state.counters["rows"] = n;
    }
}
BENCHMARK(FilteredScanSqlite3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    ArranqueBenchmarks arranque(argc, argv, ArranqueBenchmarks::Aplicacion::Consola);
    data();   // made before any timing
    return arranque.ejecutar();
}
