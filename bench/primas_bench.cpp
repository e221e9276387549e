// The mobile activity of an operator over BONO of 1,000,000 rows (1,000 operators by 1,000
// days, SQLite), asked for operators in turn. Anchors in the same run: the same statement
// through the sqlite3 C API, prepared once and bound per call, read to its first row (the
// answer) and read whole (the rows the program reads).
#include "ArranqueBenchmarks.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "ProgramaArrancado.h"
#include "projects/operarios/Primmodu.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int kOperarios = 1000;
constexpr int kDias = 1000;
const QDate kPrimerDia(2022, 1, 3);
const QDateTime kFecha = FechaHora(kPrimerDia.addDays(kDias - 200));

struct Programa : ProgramaArrancado
{
    Programa()
    {
        CrearMDPrimas();
        plat::Connection &db = inicio->Database();
        modulo->EjecutarSQL(QStringLiteral("DELETE FROM BONO"));
        db.startTransaction();
        for (int o = 1; o <= kOperarios; ++o)
            for (int d = 0; d < kDias; ++d)
                db.exec(QStringLiteral("INSERT INTO BONO (CodigoOperario, Fecha, Hora, ActividadMovil) VALUES "
                                       "(:o, :f, :h, :a)"),
                        {{QStringLiteral("o"), o},
                         {QStringLiteral("f"), FechaHora(kPrimerDia.addDays(d))},
                         {QStringLiteral("h"), FechaHora(QDate(1899, 12, 30), QTime(8 + d % 8, 0))},
                         {QStringLiteral("a"), (o + d) % 5 == 0 ? 0.0 : 50.0 + d % 50}});
        db.commit();
    }
    ~Programa() { LiberarMDPrimas(); }

    QString ficheroSQLite() const { return inicio->Database().databaseName() + QStringLiteral("/datos.sqlite"); }
};

Programa &programa()
{
    static Programa p;
    return p;
}

void ActividadMovilOperario(benchmark::State &state)
{
    programa();
    int operario = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(MDPrimas->ActividadMovilOperario(operario++ % kOperarios + 1, kFecha));
}
BENCHMARK(ActividadMovilOperario)->Unit(benchmark::kMicrosecond);

// The same statement through the sqlite3 C API, prepared once and bound per call: the answer
// from its first row, and, with `todas`, every row of the answer stepped as the program's
// query dataset reads them.
void AnclaSqlite3(benchmark::State &state, bool todas)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(programa().ficheroSQLite().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *consulta = nullptr;
    const QByteArray desde = ValorASQL(SumarAnyos(-1, kFecha)).remove(u'\'').toUtf8();
    const QByteArray hasta = ValorASQL(kFecha).remove(u'\'').toUtf8();
    sqlite3_prepare_v2(db,
                       "SELECT CodigoOperario, Fecha, Hora, ActividadMovil FROM BONO WHERE CodigoOperario = ? AND "
                       "Fecha >= ? AND Fecha <= ? AND ActividadMovil <> 0 ORDER BY CodigoOperario DESC, Fecha DESC, "
                       "Hora DESC",
                       -1, &consulta, nullptr);
    int operario = 0;
    double filas = 0;
    for (auto _ : state) {
        sqlite3_bind_int(consulta, 1, operario++ % kOperarios + 1);
        sqlite3_bind_text(consulta, 2, desde.constData(), -1, SQLITE_STATIC);
        sqlite3_bind_text(consulta, 3, hasta.constData(), -1, SQLITE_STATIC);
        double actividad = 0;
        if (sqlite3_step(consulta) == SQLITE_ROW) {
            actividad = sqlite3_column_double(consulta, 3);
            filas += 1;
            while (todas && sqlite3_step(consulta) == SQLITE_ROW) {
                benchmark::DoNotOptimize(sqlite3_column_int(consulta, 0));
                benchmark::DoNotOptimize(sqlite3_column_text(consulta, 1));
                benchmark::DoNotOptimize(sqlite3_column_text(consulta, 2));
                benchmark::DoNotOptimize(sqlite3_column_double(consulta, 3));
                filas += 1;
            }
        }
        benchmark::DoNotOptimize(actividad);
        sqlite3_reset(consulta);
    }
    sqlite3_finalize(consulta);
    sqlite3_close(db);
    state.counters["filas"] = benchmark::Counter(filas, benchmark::Counter::kAvgIterations);
}
void AnclaSQLiteActividadMovil(benchmark::State &state) { AnclaSqlite3(state, false); }
BENCHMARK(AnclaSQLiteActividadMovil)->Unit(benchmark::kMicrosecond);
void AnclaSQLiteActividadMovilTodasLasFilas(benchmark::State &state) { AnclaSqlite3(state, true); }
BENCHMARK(AnclaSQLiteActividadMovilTodasLasFilas)->Unit(benchmark::kMicrosecond);

} // namespace

GP_BENCHMARK_MAIN(Ventanas)
