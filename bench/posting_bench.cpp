// Writing through a table dataset, one record per transaction, on tables of 1,000 / 100,000 /
// 1,000,000 rows (WAL, synchronous=FULL, as the engine opens SQLite files): post a new
// record, edit and post, delete; and locate by key on the 1,000,000-row table. Each case is
// set in the same run against a plain C loop on the same file with the sqlite3 API and a
// prepared statement (BEGIN / COMMIT around each row for the writes).
#include "ArranqueBenchmarks.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <sqlite3.h>

using namespace plat;

namespace {

constexpr int kWrites = 150;   // iterations of each write case (the two sides' deletes must not meet)

QString tableFor(int rows)
{
    return QStringLiteral("T%1").arg(rows);
}

struct BenchData
{
    QTemporaryDir dir;
    Session session;
    sqlite3 *raw = nullptr;

    BenchData()
    {
        Connection &db = connection();
        db.setDatabaseName(dir.path());
        for (int rows : {1000, 100000, 1000000}) {
            TableDef t;
            t.name = tableFor(rows);
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
                        .arg(t.name),
                    {}, SqlOrigin::AsWritten);
            db.commit();
        }
        const QByteArray file = QFile::encodeName(dir.path() + QStringLiteral("/datos.sqlite"));
        sqlite3_open_v2(file.constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(raw, 5000);
        sqlite3_exec(raw, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    }
    ~BenchData() { sqlite3_close(raw); }

    Connection &connection() { return session.connection(QStringLiteral("Database")); }
};

BenchData &data()
{
    static BenchData d;
    return d;
}

// A dataset per table, kept open across the cases as a form keeps its tables.
TableDataSet &table(int rows)
{
    static std::map<int, std::unique_ptr<TableDataSet>> tables;
    auto &t = tables[rows];
    if (!t) {
        t = std::make_unique<TableDataSet>(QStringLiteral("Tabla"));
        t->setConnection(&data().connection());
        t->setTableName(tableFor(rows));
        t->open();
    }
    return *t;
}

// A plain prepared statement on the raw connection.
struct Raw
{
    sqlite3_stmt *stmt = nullptr;
    explicit Raw(const QString &sql)
    {
        const QByteArray text = sql.toUtf8();
        sqlite3_prepare_v2(data().raw, text.constData(), int(text.size()), &stmt, nullptr);
    }
    ~Raw() { sqlite3_finalize(stmt); }
};

void commitOne(benchmark::State &state, sqlite3_stmt *stmt)
{
    sqlite3_exec(data().raw, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (sqlite3_step(stmt) != SQLITE_DONE)
        state.SkipWithError(sqlite3_errmsg(data().raw));
    sqlite3_reset(stmt);
    sqlite3_exec(data().raw, "COMMIT", nullptr, nullptr, nullptr);
}

// New keys above the table's own, apart for each side and each repetition.
qint64 nextKey(int rows, int side)
{
    static std::map<std::pair<int, int>, qint64> last;
    qint64 &k = last[{rows, side}];
    if (k == 0)
        k = qint64(rows) * (side + 2);
    return ++k;
}

void Post(benchmark::State &state)
{
    const int rows = int(state.range(0));
    TableDataSet &t = table(rows);
    Field &codigo = t.fieldByName(QStringLiteral("Codigo"));
    Field &nombre = t.fieldByName(QStringLiteral("Nombre"));
    Field &importe = t.fieldByName(QStringLiteral("Importe"));
    Field &fecha = t.fieldByName(QStringLiteral("Fecha"));
    for (auto _ : state) {
        const qint64 key = nextKey(rows, 0);
        t.append();
        codigo.setAsInteger(key);
        nombre.setAsString(QStringLiteral("Alta %1").arg(key));
        importe.setAsFloat(double(key) / 3.0);
        fecha.setAsDateTime(QDateTime(QDate(2024, 5, 1), QTime(10, 0), Qt::UTC));
        t.post();
    }
}

void PostSqlite3(benchmark::State &state)
{
    const int rows = int(state.range(0));
    Raw insert(QStringLiteral("INSERT INTO %1 (Codigo, Nombre, Importe, Fecha) VALUES (?, ?, ?, ?)").arg(tableFor(rows)));
    for (auto _ : state) {
        const qint64 key = nextKey(rows, 1);
        const QByteArray name = QStringLiteral("Alta %1").arg(key).toUtf8();
        sqlite3_bind_int64(insert.stmt, 1, key);
        sqlite3_bind_text(insert.stmt, 2, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_double(insert.stmt, 3, double(key) / 3.0);
        sqlite3_bind_text(insert.stmt, 4, "2024-05-01 10:00:00", -1, SQLITE_STATIC);
        commitOne(state, insert.stmt);
    }
}

void EditPost(benchmark::State &state)
{
    const int rows = int(state.range(0));
    TableDataSet &t = table(rows);
    t.first();
    Field &nombre = t.fieldByName(QStringLiteral("Nombre"));
    int n = 0;
    for (auto _ : state) {
        t.edit();
        nombre.setAsString(QStringLiteral("Cambio %1").arg(++n));
        t.post();
    }
}

void EditPostSqlite3(benchmark::State &state)
{
    const int rows = int(state.range(0));
    Raw update(QStringLiteral("UPDATE %1 SET Nombre = ? WHERE Codigo = ?").arg(tableFor(rows)));
    int n = 0;
    for (auto _ : state) {
        const QByteArray name = QStringLiteral("Cambio %1").arg(++n).toUtf8();
        sqlite3_bind_text(update.stmt, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(update.stmt, 2, 1);
        commitOne(state, update.stmt);
    }
}

// The dataset deletes from the start of the table, the loop from its end.
void Delete(benchmark::State &state)
{
    const int rows = int(state.range(0));
    TableDataSet &t = table(rows);
    t.first();
    t.next();   // the first record is the one the edit case changes
    for (auto _ : state)
        t.remove();
}

void DeleteSqlite3(benchmark::State &state)
{
    const int rows = int(state.range(0));
    Raw remove(QStringLiteral("DELETE FROM %1 WHERE Codigo = ?").arg(tableFor(rows)));
    static std::map<int, qint64> last;
    qint64 &key = last[rows];
    if (key == 0)
        key = rows + 1;
    for (auto _ : state) {
        sqlite3_bind_int64(remove.stmt, 1, --key);
        commitOne(state, remove.stmt);
    }
}

void Locate(benchmark::State &state)
{
    TableDataSet &t = table(1000000);
    qint64 code = 1;
    for (auto _ : state) {
        code = (code * 48271) % 900000 + 1000;
        if (!t.locate(QStringLiteral("Codigo"), code))
            state.SkipWithError("key not found");
    }
}

void LocateSqlite3(benchmark::State &state)
{
    Raw select(QStringLiteral("SELECT Codigo, Nombre, Importe, Fecha FROM %1 WHERE Codigo = ?").arg(tableFor(1000000)));
    qint64 code = 1;
    for (auto _ : state) {
        code = (code * 48271) % 900000 + 1000;
        sqlite3_bind_int64(select.stmt, 1, code);
        if (sqlite3_step(select.stmt) != SQLITE_ROW)
            state.SkipWithError("key not found");
        benchmark::DoNotOptimize(sqlite3_column_int64(select.stmt, 0));
        benchmark::DoNotOptimize(sqlite3_column_text(select.stmt, 1));
        benchmark::DoNotOptimize(sqlite3_column_double(select.stmt, 2));
        benchmark::DoNotOptimize(sqlite3_column_text(select.stmt, 3));
        sqlite3_reset(select.stmt);
    }
}

#define WRITE_CASE(name) BENCHMARK(name)->Arg(1000)->Arg(100000)->Arg(1000000)->Iterations(kWrites)->Unit(benchmark::kMicrosecond)
WRITE_CASE(Post);
WRITE_CASE(PostSqlite3);
WRITE_CASE(EditPost);
WRITE_CASE(EditPostSqlite3);
WRITE_CASE(Delete);
WRITE_CASE(DeleteSqlite3);
BENCHMARK(Locate)->Unit(benchmark::kMicrosecond);
BENCHMARK(LocateSqlite3)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    ArranqueBenchmarks arranque(argc, argv, ArranqueBenchmarks::Aplicacion::Consola);
    data();   // made before any timing
    return arranque.ejecutar();
}
