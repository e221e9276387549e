// The copy to another company by "Agregar y Sustituir": the 100,000 rows a table dataset shows
// go into the same, empty table of another SQLite file by key, in committed batches of 1,000.
// The anchor, in the same run on the same files, is the engine doing it alone: INSERT ...
// SELECT over the source file attached to the target's own sqlite3 connection, in one
// transaction. A second reference is the least any copy row by row in committed batches
// costs: the same rows read by key 1,000 at a time and inserted through one prepared statement
// on the sqlite3 C API, each batch committed. Every case starts from an empty target table
// (emptied outside the timing).
#include "platform/data/DataSetCopy.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

using namespace plat;

namespace {

constexpr int kRows = 100000;

TableDef articulos()
{
    TableDef t;
    t.name = QStringLiteral("ARTICULO");
    t.fields = {fieldDef(QStringLiteral("Codigo"), ftInteger, 0, true), fieldDef(QStringLiteral("Nombre"), ftString, 40),
                fieldDef(QStringLiteral("Precio"), ftFloat), fieldDef(QStringLiteral("Alta"), ftDateTime)};
    IndexDef primary;
    primary.name = QStringLiteral("Clave1");
    primary.fields = {QStringLiteral("Codigo")};
    primary.primary = primary.unique = true;
    t.indexes = {primary};
    return t;
}

struct BenchData
{
    QTemporaryDir origen, destino;
    Session session;
    TableDataSet tabla;
    sqlite3 *raw = nullptr;
    sqlite3 *rawOrigen = nullptr;

    BenchData()
    {
        Connection &o = fuente();
        o.setDatabaseName(origen.path());
        o.createTable(articulos());
        o.startTransaction();
        o.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                              "INSERT INTO ARTICULO (Codigo, Nombre, Precio, Alta) "
                              "SELECT i, 'Articulo ' || i, (i % 1000) / 10.0, '2024-01-01 00:00:00' FROM n")
                   .arg(kRows),
               {}, SqlOrigin::AsWritten);
        o.commit();
        Connection &d = objetivo();
        d.setDatabaseName(destino.path());
        d.createTable(articulos());
        tabla.setConnection(&o);
        tabla.setTableName(QStringLiteral("ARTICULO"));
        tabla.open();
        const QByteArray file = QFile::encodeName(destino.path() + QStringLiteral("/datos.sqlite"));
        sqlite3_open_v2(file.constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(raw, 5000);
        sqlite3_exec(raw, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
        const QByteArray attach = "ATTACH DATABASE '" + QFile::encodeName(origen.path() + QStringLiteral("/datos.sqlite"))
            + "' AS origen";
        sqlite3_exec(raw, attach.constData(), nullptr, nullptr, nullptr);
        const QByteArray source = QFile::encodeName(origen.path() + QStringLiteral("/datos.sqlite"));
        sqlite3_open_v2(source.constData(), &rawOrigen, SQLITE_OPEN_READONLY, nullptr);
    }
    ~BenchData()
    {
        sqlite3_close(raw);
        sqlite3_close(rawOrigen);
    }

    Connection &fuente() { return session.connection(QStringLiteral("Database")); }
    Connection &objetivo() { return session.connection(QStringLiteral("DatabaseAlt")); }
};

BenchData &data()
{
    static BenchData d;
    return d;
}

void vaciar()
{
    data().objetivo().exec(QStringLiteral("DELETE FROM ARTICULO"), {}, SqlOrigin::AsWritten);
}

void CopiaAgregarYSustituir(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        vaciar();
        data().tabla.refresh();
        state.ResumeTiming();
        const CopyCounts n = copyRecords(data().tabla, data().objetivo(), QStringLiteral("ARTICULO"), CopyMode::AppendAndUpdate);
        if (n.appended != kRows)
            state.SkipWithError("not every row was copied");
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

void InsertSelectAdjunto(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        vaciar();
        state.ResumeTiming();
        sqlite3_exec(data().raw, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        if (sqlite3_exec(data().raw, "INSERT INTO ARTICULO SELECT * FROM origen.ARTICULO", nullptr, nullptr, nullptr) != SQLITE_OK)
            state.SkipWithError(sqlite3_errmsg(data().raw));
        sqlite3_exec(data().raw, "COMMIT", nullptr, nullptr, nullptr);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

// Returns the rows copied.
int copiarFilaAFila(sqlite3 *origen, sqlite3 *destino)
{
    sqlite3_stmt *leer = nullptr, *escribir = nullptr;
    sqlite3_prepare_v2(origen, "SELECT Codigo, Nombre, Precio, Alta FROM ARTICULO WHERE Codigo > ? ORDER BY Codigo LIMIT 1000",
                       -1, &leer, nullptr);
    sqlite3_prepare_v2(destino, "INSERT INTO ARTICULO (Codigo, Nombre, Precio, Alta) VALUES (?, ?, ?, ?)", -1, &escribir,
                       nullptr);
    sqlite3_int64 ultimo = -1;
    int copiadas = 0;
    for (int enLote = 1000; enLote == 1000;) {
        enLote = 0;
        sqlite3_bind_int64(leer, 1, ultimo);
        sqlite3_exec(destino, "BEGIN", nullptr, nullptr, nullptr);
        while (sqlite3_step(leer) == SQLITE_ROW) {
            ultimo = sqlite3_column_int64(leer, 0);
            sqlite3_bind_int64(escribir, 1, ultimo);
            sqlite3_bind_text(escribir, 2, reinterpret_cast<const char *>(sqlite3_column_text(leer, 1)), -1, SQLITE_TRANSIENT);
            sqlite3_bind_double(escribir, 3, sqlite3_column_double(leer, 2));
            sqlite3_bind_text(escribir, 4, reinterpret_cast<const char *>(sqlite3_column_text(leer, 3)), -1, SQLITE_TRANSIENT);
            if (sqlite3_step(escribir) == SQLITE_DONE)
                ++copiadas;
            sqlite3_reset(escribir);
            ++enLote;
        }
        sqlite3_reset(leer);
        sqlite3_exec(destino, "COMMIT", nullptr, nullptr, nullptr);
    }
    sqlite3_finalize(leer);
    sqlite3_finalize(escribir);
    return copiadas;
}

void BucleApiCLotesDeMil(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        vaciar();
        state.ResumeTiming();
        if (copiarFilaAFila(data().rawOrigen, data().raw) != kRows)
            state.SkipWithError("not every row was copied");
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

BENCHMARK(CopiaAgregarYSustituir)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(InsertSelectAdjunto)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BucleApiCLotesDeMil)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
