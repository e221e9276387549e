// The copy to another company by "Agregar y Sustituir": the 100,000 rows a table dataset shows
// go into the same, empty table of another SQLite file by key, in committed batches of 1,000.
// The anchor, in the same run on the same files, is the engine doing it alone: INSERT ...
// SELECT over the source file attached to the target's own sqlite3 connection, in one
// transaction. A second reference is the least any copy row by row in committed batches
// costs: the same rows read by key 1,000 at a time and inserted through one prepared statement
// on the sqlite3 C API, each batch committed. Every case starts from an empty target table
// (emptied outside the timing).
//
// The copy with details, as the copy to other companies makes it: 3,000 masters of 5 lines
// each (300 and 30,000 for the growth), read through a master dataset and a detail dataset that follows it, into the empty
// tables of another SQLite file by "Agregar y Sustituir". Now each master commits with its
// lines, several to a transaction of about 1,000 rows (`copyWithDetails`); before, the
// master table went first in committed batches and then each master's lines, committed
// master by master (the same platform calls, timed in the same run). The anchor is INSERT
// ... SELECT of both tables over the attached source file, in one transaction.
#include "platform/data/DataSetCopy.h"
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

// The target file on a sqlite3 connection of its own (as the engine opens it), with the
// source file attached as "origen".
sqlite3 *destinoConOrigen(const QString &destino, const QString &origen)
{
    sqlite3 *raw = nullptr;
    const QByteArray file = QFile::encodeName(destino + QStringLiteral("/datos.sqlite"));
    sqlite3_open_v2(file.constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_busy_timeout(raw, 5000);
    sqlite3_exec(raw, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    const QByteArray attach = "ATTACH DATABASE '" + QFile::encodeName(origen + QStringLiteral("/datos.sqlite")) + "' AS origen";
    sqlite3_exec(raw, attach.constData(), nullptr, nullptr, nullptr);
    return raw;
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
        raw = destinoConOrigen(destino.path(), origen.path());
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

constexpr int kLinesEach = 5;

TableDef albaranes(const QString &name, bool lines)
{
    TableDef t;
    t.name = name;
    t.fields = {fieldDef(QStringLiteral("Numero"), ftInteger, 0, true)};
    if (lines)
        t.fields << fieldDef(QStringLiteral("Linea"), ftInteger, 0, true);
    t.fields << fieldDef(QStringLiteral("Texto"), ftString, 40) << fieldDef(QStringLiteral("Importe"), ftFloat);
    IndexDef primary;
    primary.name = QStringLiteral("Clave1");
    primary.fields = lines ? QStringList{QStringLiteral("Numero"), QStringLiteral("Linea")} : QStringList{QStringLiteral("Numero")};
    primary.primary = primary.unique = true;
    t.indexes = {primary};
    return t;
}

struct DetailData
{
    QTemporaryDir origen, destino;
    Session session;
    TableDataSet maestro, detalle;
    sqlite3 *raw = nullptr;
    const int masters;

    explicit DetailData(int masters) : masters(masters)
    {
        Connection &o = fuente();
        o.setDatabaseName(origen.path());
        Connection &d = objetivo();
        d.setDatabaseName(destino.path());
        for (Connection *c : {&o, &d}) {
            c->createTable(albaranes(QStringLiteral("ALBARAN"), false));
            c->createTable(albaranes(QStringLiteral("LALBARAN"), true));
        }
        o.startTransaction();
        o.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                              "INSERT INTO ALBARAN (Numero, Texto, Importe) SELECT i, 'Albaran ' || i, i / 4.0 FROM n")
                   .arg(masters),
               {}, SqlOrigin::AsWritten);
        o.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                              "INSERT INTO LALBARAN (Numero, Linea, Texto, Importe) "
                              "SELECT i / %2 + 1, i % %2 + 1, 'Linea ' || i, i / 8.0 FROM n")
                   .arg(masters * kLinesEach - 1)
                   .arg(kLinesEach),
               {}, SqlOrigin::AsWritten);
        o.commit();
        maestro.setConnection(&o);
        maestro.setTableName(QStringLiteral("ALBARAN"));
        detalle.setConnection(&o);
        detalle.setTableName(QStringLiteral("LALBARAN"));
        maestro.open();
        detalle.open();
        detalle.setMasterSource(&maestro, QStringLiteral("Numero"));
        raw = destinoConOrigen(destino.path(), origen.path());
    }
    ~DetailData() { sqlite3_close(raw); }

    Connection &fuente() { return session.connection(QStringLiteral("Database")); }
    Connection &objetivo() { return session.connection(QStringLiteral("DatabaseAlt")); }

    void vaciar()
    {
        objetivo().exec(QStringLiteral("DELETE FROM LALBARAN"), {}, SqlOrigin::AsWritten);
        objetivo().exec(QStringLiteral("DELETE FROM ALBARAN"), {}, SqlOrigin::AsWritten);
    }
    bool todoCopiado()
    {
        return objetivo().scalar(QStringLiteral("SELECT COUNT(*) FROM LALBARAN"), {}, SqlOrigin::AsWritten).toInt()
            == masters * kLinesEach
            && objetivo().scalar(QStringLiteral("SELECT COUNT(*) FROM ALBARAN"), {}, SqlOrigin::AsWritten).toInt() == masters;
    }
};

// The files of each number of masters, made once.
DetailData &detailData(int masters)
{
    static std::map<int, std::unique_ptr<DetailData>> made;
    auto &d = made[masters];
    if (!d)
        d = std::make_unique<DetailData>(masters);
    return *d;
}

// The three copies with details, each from empty target tables.
template <typename Copia>
void copiarConDetalles(benchmark::State &state, Copia copia)
{
    DetailData &d = detailData(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        d.vaciar();
        state.ResumeTiming();
        copia(d);
    }
    if (!d.todoCopiado())
        state.SkipWithError("not every row was copied");
    state.SetItemsProcessed(state.iterations() * d.masters * (kLinesEach + 1));
}

void CopiaConDetalles(benchmark::State &state)
{
    copiarConDetalles(state, [&](DetailData &d) {
        copyWithDetails({{&d.maestro, &d.objetivo(), QStringLiteral("ALBARAN")},
                         {&d.detalle, &d.objetivo(), QStringLiteral("LALBARAN")}},
                        CopyMode::AppendAndUpdate, [&](int, const gp::Error &e) { state.SkipWithError(e.what()); });
    });
}

void CopiaConDetallesTablaATabla(benchmark::State &state)
{
    copiarConDetalles(state, [](DetailData &d) {
        copyRecords(d.maestro, d.objetivo(), QStringLiteral("ALBARAN"), CopyMode::AppendAndUpdate);
        for (d.maestro.first(); !d.maestro.eof(); d.maestro.next())
            copyRecords(d.detalle, d.objetivo(), QStringLiteral("LALBARAN"), CopyMode::AppendAndUpdate);
    });
}

void InsertSelectConDetalles(benchmark::State &state)
{
    copiarConDetalles(state, [&](DetailData &d) {
        sqlite3_exec(d.raw, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        if (sqlite3_exec(d.raw, "INSERT INTO ALBARAN SELECT * FROM origen.ALBARAN; "
                                "INSERT INTO LALBARAN SELECT * FROM origen.LALBARAN",
                         nullptr, nullptr, nullptr)
            != SQLITE_OK)
            state.SkipWithError(sqlite3_errmsg(d.raw));
        sqlite3_exec(d.raw, "COMMIT", nullptr, nullptr, nullptr);
    });
}

BENCHMARK(CopiaAgregarYSustituir)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(InsertSelectAdjunto)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BucleApiCLotesDeMil)->Unit(benchmark::kMillisecond)->UseRealTime();
// 3,000 masters as measured; 300 and 30,000 for the growth (the copy master by master is too
// slow for the largest).
BENCHMARK(CopiaConDetalles)->Arg(300)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(CopiaConDetallesTablaATabla)->Arg(300)->Arg(3000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(InsertSelectConDetalles)->Arg(300)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace

BENCHMARK_MAIN();
