// The Gantt views' costs. A screen of 40 Gantt rows, one per project of 100 lines (10,000
// lines in LPROYECT, SQLite), each cell asking for its project's and its chapter's plan and
// painting; the same projects' horizon shares; and painting alone, 10,000 chapter rows of
// the project master over a one-year span in a 1,000-pixel column. Anchors in the same run:
// the same range reads through the sqlite3 C API with prepared statements, and the same
// marks filled straight with QPainter.
#include "ArranqueBenchmarks.h"
#include "GENEW/data/modulo/DibujarEscalaTiempo.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "ProgramaArrancado.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"
#include "projects/proyectos/DibujoGantt.h"
#include "projects/proyectos/Proymodu.h"

#include <QPainter>
#include <benchmark/benchmark.h>
#include <memory>
#include <sqlite3.h>

namespace {

constexpr int kProyectos = 100;
constexpr int kLineasProyecto = 100;
constexpr int kFilasPantalla = 40;

QString CodigoProyecto(int i) { return QStringLiteral("P%1").arg(i, 4, 10, QLatin1Char('0')); }
// Ten chapters of ten lines: the heading "0003", then "0003.01" .. "0003.09".
QString Capitulo(int linea)
{
    const QString capitulo = QStringLiteral("%1").arg(linea / 10 + 1, 4, 10, QLatin1Char('0'));
    return linea % 10 == 0 ? capitulo : capitulo + QStringLiteral(".%1").arg(linea % 10, 2, 10, QLatin1Char('0'));
}

// A started program with company 1, the data module and the project data module, over a
// company database holding the projects.
struct Programa : ProgramaArrancado
{
    Programa()
    {
        CrearMDProyectos();
        llenar();
    }

    ~Programa() { LiberarMDProyectos(); }

    void llenar()
    {
        plat::Connection &db = inicio->Database();
        // Made from their definitions when missing.
        modulo->EjecutarSQL(QStringLiteral("DELETE FROM PROYECT"));
        modulo->EjecutarSQL(QStringLiteral("DELETE FROM LPROYECT"));
        db.startTransaction();
        for (int p = 0; p < kProyectos; ++p) {
            const QDate aceptacion = QDate(2024, 1, 8).addDays(p);
            db.exec(QStringLiteral("INSERT INTO PROYECT (Codigo, Descripcion, FechaAceptacion, FechaEntrega) VALUES "
                                   "(:c, 'Proyecto', :a, :e)"),
                    {{QStringLiteral("c"), CodigoProyecto(p)},
                     {QStringLiteral("a"), FechaHora(aceptacion)},
                     {QStringLiteral("e"), FechaHora(aceptacion.addDays(300))}});
            for (int l = 0; l < kLineasProyecto; ++l) {
                const bool titulo = l % 10 == 0;
                const QDate inicioLinea = aceptacion.addDays(3 * l);
                db.exec(QStringLiteral("INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo, FechaInicio, FechaFinal, "
                                       "TiempoPrevisto, GradoAvance) VALUES (:c, :l, :k, :i, :f, :t, :g)"),
                        {{QStringLiteral("c"), CodigoProyecto(p)},
                         {QStringLiteral("l"), l + 1},
                         {QStringLiteral("k"), Capitulo(l)},
                         {QStringLiteral("i"), titulo ? QVariant() : QVariant(FechaHora(inicioLinea))},
                         {QStringLiteral("f"), titulo ? QVariant() : QVariant(FechaHora(inicioLinea.addDays(10)))},
                         {QStringLiteral("t"), titulo ? 0.0 : 8.0},
                         {QStringLiteral("g"), l % 3 == 0 ? QStringLiteral("Terminado") : QStringLiteral("50")}});
            }
        }
        db.commit();
    }

    QString ficheroSQLite() const { return inicio->Database().databaseName() + QStringLiteral("/datos.sqlite"); }
};

Programa &programa()
{
    static Programa p;
    return p;
}

FilaCapituloGantt Fila(int proyecto)
{
    return FilaCapituloGantt{CodigoProyecto(proyecto), Capitulo(20),
                             LineaPlan{0, 0, 0, QString()}};   // a heading row: its chapter's span
}

void PantallaGanttCuarentaProyectos(benchmark::State &state)
{
    programa();
    plat::Bitmap celda(500, 18);
    for (auto _ : state)
        for (int p = 0; p < kFilasPantalla; ++p)
            DibujarCapituloMaestro(celda.canvas(), QRect(0, 0, 500, 18), Fila(p), true);
    state.counters["llamadas_plan"] = 2 * kFilasPantalla;
}
BENCHMARK(PantallaGanttCuarentaProyectos)->Unit(benchmark::kMillisecond);

void PlanHorizonteCuarentaProyectos(benchmark::State &state)
{
    programa();
    const QDateTime hasta = FechaHora(QDate(2024, 6, 30));
    for (auto _ : state)
        for (int p = 0; p < kFilasPantalla; ++p)
            benchmark::DoNotOptimize(MDProyectos->CalcularPlanHorizonte(CodigoProyecto(p), QString(), FechaCero(), hasta));
}
BENCHMARK(PlanHorizonteCuarentaProyectos)->Unit(benchmark::kMillisecond);

// The floor: the project look-up and the two range reads of every row through prepared
// statements of the sqlite3 C API on the same file, summing the hours.
void AnclaSQLiteCuarentaProyectos(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(programa().ficheroSQLite().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *proyecto = nullptr, *lineas = nullptr;
    sqlite3_prepare_v2(db, "SELECT FechaAceptacion, FechaEntrega, FechaFinalizacion FROM PROYECT WHERE Codigo = ?", -1,
                       &proyecto, nullptr);
    sqlite3_prepare_v2(db,
                       "SELECT FechaInicio, FechaFinal, TiempoPrevisto, GradoAvance FROM LPROYECT WHERE CodigoProyecto "
                       "= ?1 AND Capitulo >= ?2 AND Capitulo <= ?3 ORDER BY CodigoProyecto, Capitulo",
                       -1, &lineas, nullptr);
    double horas = 0;
    for (auto _ : state) {
        for (int p = 0; p < kFilasPantalla; ++p) {
            const QByteArray codigo = CodigoProyecto(p).toUtf8();
            for (const QByteArray &capitulo : {QByteArray(), Capitulo(20).toUtf8()}) {
                sqlite3_bind_text(proyecto, 1, codigo.constData(), -1, SQLITE_TRANSIENT);
                while (sqlite3_step(proyecto) == SQLITE_ROW)
                    benchmark::DoNotOptimize(sqlite3_column_text(proyecto, 0));
                sqlite3_reset(proyecto);
                const QByteArray fin = capitulo + QByteArray(20, 'z');
                sqlite3_bind_text(lineas, 1, codigo.constData(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_text(lineas, 2, capitulo.constData(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_text(lineas, 3, fin.constData(), -1, SQLITE_TRANSIENT);
                while (sqlite3_step(lineas) == SQLITE_ROW) {
                    benchmark::DoNotOptimize(sqlite3_column_text(lineas, 0));
                    benchmark::DoNotOptimize(sqlite3_column_text(lineas, 1));
                    horas += sqlite3_column_double(lineas, 2);
                    benchmark::DoNotOptimize(sqlite3_column_text(lineas, 3));
                }
                sqlite3_reset(lineas);
            }
        }
    }
    benchmark::DoNotOptimize(horas);
    sqlite3_finalize(proyecto);
    sqlite3_finalize(lineas);
    sqlite3_close(db);
}
BENCHMARK(AnclaSQLiteCuarentaProyectos)->Unit(benchmark::kMillisecond);

// ---- painting alone ---------------------------------------------------------------------------

constexpr int kFilasPintura = 10000;
const QRect kColumna(0, 0, 1000, 18);

PlanProyecto UnAnyo()
{
    return PlanProyecto{FechaHora(QDate(2024, 1, 3)), FechaHora(QDate(2025, 1, 1)), 0, 0};
}

void PintarDiezMilCapitulos(benchmark::State &state)
{
    const bool verDias = state.range(0) != 0;
    const PlanProyecto proyecto = UnAnyo();
    const CapituloGantt capitulo{LineaPlan{1, 1, 8, QStringLiteral("50")},
                                 PlanProyecto{FechaHora(QDate(2024, 3, 4)), FechaHora(QDate(2024, 5, 31)), 8, 4}};
    const double hoy = NumeroDia(FechaHora(QDate(2024, 7, 1)));
    plat::Bitmap celda(kColumna.width(), kColumna.height());
    for (auto _ : state)
        for (int i = 0; i < kFilasPintura; ++i)
            PintarCapituloMaestro(celda.canvas(), kColumna, proyecto, capitulo, verDias, hoy);
}
BENCHMARK(PintarDiezMilCapitulos)->Arg(1)->Arg(0)->ArgName("VerDias")->Unit(benchmark::kMillisecond);

// The floor: the same marks (bar, 366 day ticks, 52 week lines, 12 month lines, today)
// filled straight with QPainter at precomputed places.
void AnclaQPainterDiezMilFilas(benchmark::State &state)
{
    QImage imagen(kColumna.size(), QImage::Format_RGB32);
    imagen.fill(Qt::white);
    QPainter painter(&imagen);
    const QColor plata(192, 192, 192), negro(Qt::black), fucsia(255, 0, 255), barra(255, 0, 255);
    for (auto _ : state)
        for (int i = 0; i < kFilasPintura; ++i) {
            painter.fillRect(QRect(164, 2, 240, 12), barra);
            for (int d = 0; d < 366; ++d)
                painter.fillRect(QRect(d * 1000 / 366, 8, 1, 1), plata);
            for (int w = 0; w < 52; ++w)
                painter.fillRect(QRect(14 + w * 7000 / 366, 0, 1, 18), plata);
            for (int m = 0; m < 12; ++m)
                painter.fillRect(QRect(m * 1000 / 12, 0, 1, 18), negro);
            painter.fillRect(QRect(497, 0, 1, 18), fucsia);
        }
}
BENCHMARK(AnclaQPainterDiezMilFilas)->Unit(benchmark::kMillisecond);

} // namespace

GP_BENCHMARK_MAIN(Ventanas)
