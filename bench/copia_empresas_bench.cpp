// The copy to another company by "Agregar y Sustituir": the 100,000 rows a table dataset shows
// go into the same, empty table of another SQLite file by key, in committed batches of 1,000.
// The anchor, in the same run on the same files, is the engine doing it alone: INSERT ...
// SELECT over the source file attached to the target's own sqlite3 connection, in one
// transaction. Both sides start from an empty target table (emptied outside the timing).
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
    }
    ~BenchData() { sqlite3_close(raw); }

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

BENCHMARK(CopiaAgregarYSustituir)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(InsertSelectAdjunto)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
