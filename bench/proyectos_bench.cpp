// The Gantt views' costs. A screen of 40 Gantt rows, one per project of 100 lines (10,000
// lines in LPROYECT, SQLite), each cell asking for its project's and its chapter's plan and
// painting; the same projects' horizon shares; and painting alone, 10,000 chapter rows of
// the project master over a one-year span in a 1,000-pixel column. Raw anchors in the same
// run: for the screen, the reads it needs through prepared sqlite3 statements and the same
// marks drawn with QPainter; for the painting, the same marks filled straight with QPainter.
// The horizon shares stand against their goal alone.
#include "ArranqueBenchmarks.h"
#include "DiaCrudo.h"
#include "GENEW/data/modulo/DibujarEscalaTiempo.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "ProgramaArrancado.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"
#include "projects/proyectos/DibujoGantt.h"
#include "projects/proyectos/Proymodu.h"

#include <QDate>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <cmath>
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

// The screen raw: per project its dates and its lines read once through prepared sqlite3
// statements, giving the project's span and the chapter's (the chapter and its sub-chapters,
// whose numbers start with it); then the cell drawn with plain QPainter on an image of the
// same size: the heading's black bar framed in silver, a tick a day, the Monday and month
// lines and today's line, each mark a fill as the program's canvas makes it, clipped to the
// cell.
void AnclaSqlite3YQPainterCuarentaProyectos(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(programa().ficheroSQLite().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *proyecto = nullptr, *lineas = nullptr;
    sqlite3_prepare_v2(db, "SELECT FechaAceptacion, FechaEntrega, FechaFinalizacion FROM PROYECT WHERE Codigo = ?1", -1,
                       &proyecto, nullptr);
    sqlite3_prepare_v2(db, "SELECT Capitulo, FechaInicio, FechaFinal FROM LPROYECT WHERE CodigoProyecto = ?1", -1, &lineas,
                       nullptr);
    QImage imagen(500, 18, QImage::Format_RGB32);
    imagen.fill(Qt::white);
    const QRect celda(0, 0, 500, 18);
    const QByteArray capitulo = Capitulo(20).toUtf8();
    const QColor plata(192, 192, 192);
    int barras = 0;
    for (auto _ : state) {
        barras = 0;
        for (int p = 0; p < kFilasPantalla; ++p) {
            const QByteArray codigo = CodigoProyecto(p).toUtf8();
            double s0 = 0, s1 = 0, c0 = 0, c1 = 0;
            sqlite3_bind_text(proyecto, 1, codigo.constData(), int(codigo.size()), SQLITE_STATIC);
            if (sqlite3_step(proyecto) == SQLITE_ROW) {
                s0 = DiaCrudo(sqlite3_column_text(proyecto, 0));
                const double finalizacion = DiaCrudo(sqlite3_column_text(proyecto, 2));
                s1 = finalizacion != 0 ? finalizacion : DiaCrudo(sqlite3_column_text(proyecto, 1));
            }
            sqlite3_reset(proyecto);
            sqlite3_bind_text(lineas, 1, codigo.constData(), int(codigo.size()), SQLITE_STATIC);
            while (sqlite3_step(lineas) == SQLITE_ROW) {
                const double i = DiaCrudo(sqlite3_column_text(lineas, 1)), f = DiaCrudo(sqlite3_column_text(lineas, 2));
                if (i != 0 && (s0 == 0 || i < s0))
                    s0 = i;
                s1 = std::max(s1, f);
                if (qstrncmp(reinterpret_cast<const char *>(sqlite3_column_text(lineas, 0)), capitulo.constData(),
                             uint(capitulo.size()))
                    == 0) {
                    if (i != 0 && (c0 == 0 || i < c0))
                        c0 = i;
                    c1 = std::max(c1, f);
                }
            }
            sqlite3_reset(lineas);
            if (c0 == 0 && c1 != 0)
                c0 = c1 - 7;

            const double dias = s1 - s0 + 1;
            if (dias <= 0)
                continue;
            const auto x = [&](double dia) { return int(std::nearbyint(celda.width() * (dia - s0) / dias)); };
            QPainter pintor(&imagen);
            pintor.setClipRect(celda);
            if (c0 != 0) {
                const QRect barra(x(c0), 6, x(c1 + 1) - x(c0), 4);
                pintor.fillRect(barra, Qt::black);
                pintor.fillRect(QRect(barra.left(), barra.top(), barra.width(), 1), plata);
                pintor.fillRect(QRect(barra.left(), barra.bottom(), barra.width(), 1), plata);
                pintor.fillRect(QRect(barra.left(), barra.top(), 1, barra.height()), plata);
                pintor.fillRect(QRect(barra.right(), barra.top(), 1, barra.height()), plata);
                ++barras;
            }
            int anterior = -1;
            for (double dia = s0; dia <= s1; dia += 1) {
                const int px = x(dia);
                if (px != anterior)
                    pintor.fillRect(QRect(px, 8, 1, 1), plata);
                anterior = px;
            }
            const int primerLunes = int(s0) + (8 - QDate::fromJulianDay(qint64(s0) + 2415019).dayOfWeek()) % 7;
            for (double dia = primerLunes; dia <= s1; dia += 7)
                pintor.fillRect(QRect(x(dia), 0, 1, 18), plata);
            QDate mes = QDate::fromJulianDay(qint64(s0) + 2415019);
            mes = mes.day() == 1 ? mes : QDate(mes.year(), mes.month(), 1).addMonths(1);
            for (; double(mes.toJulianDay() - 2415019) <= s1; mes = mes.addMonths(1))
                pintor.fillRect(QRect(x(double(mes.toJulianDay() - 2415019)), 0, 1, 18), Qt::black);
            pintor.fillRect(QRect(x(double(QDate::currentDate().toJulianDay() - 2415019)), 0, 1, 18), Qt::magenta);
        }
    }
    sqlite3_finalize(proyecto);
    sqlite3_finalize(lineas);
    sqlite3_close(db);
    if (barras != kFilasPantalla)
        state.SkipWithError("a row of the screen had no chapter bar");
}
BENCHMARK(AnclaSqlite3YQPainterCuarentaProyectos)->Unit(benchmark::kMillisecond);

void PlanHorizonteCuarentaProyectos(benchmark::State &state)
{
    programa();
    const QDateTime hasta = FechaHora(QDate(2024, 6, 30));
    for (auto _ : state)
        for (int p = 0; p < kFilasPantalla; ++p)
            benchmark::DoNotOptimize(MDProyectos->CalcularPlanHorizonte(CodigoProyecto(p), QString(), FechaCero(), hasta));
}
BENCHMARK(PlanHorizonteCuarentaProyectos)->Unit(benchmark::kMillisecond);

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
