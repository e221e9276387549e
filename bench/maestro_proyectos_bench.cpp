// The project master's Gantt page (SQLite). A repaint of a screen of 40 chapter rows of a
// 100-line project: the rows' calculated fields (one chapter plan each) and the Gantt
// column's painting (the project's and the chapter's plan per row). And opening the page of
// a 10,000-line project to its first screen: the lines re-read, the columns fitted, the
// first screen painted. Anchors in the same run: the same plan reads through prepared
// statements of the sqlite3 C API on the same file.
#include "ArranqueBenchmarks.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "ProgramaArrancado.h"
#include "ProyectoGrande.h"
#include "platform/ui/Application.h"
#include "projects/proyectos/PROYPROY.h"
#include "projects/proyectos/Proymodu.h"

#include <QImage>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int kFilasPantalla = 40;
const QString kPequeno = QStringLiteral("P100");
const QString kGrande = QStringLiteral("P10000");

// A started program with the two projects, and the project master open on an MDI frame
// large enough for 40 rows.
struct Programa : ProgramaArrancado
{
    plat::Form *marco = nullptr;
    TfPROYPROY *ventana = nullptr;

    Programa()
    {
        CrearMDProyectos();
        llenar(kPequeno, 100);
        llenar(kGrande, 10000);
        marco = plat::createForm<plat::Form>();
        marco->setFormStyle(plat::fsMDIForm);
        plat::application().setMainForm(marco);
        marco->resize(1100, 1000);
        marco->Show();
        ventana = plat::createForm<TfPROYPROY>();
        ventana->setBounds(0, 0, 1080, 980);
        QCoreApplication::processEvents();
    }

    ~Programa()
    {
        delete ventana;
        plat::application().setMainForm(nullptr);
        delete marco;
        LiberarMDProyectos();
    }

    void llenar(const QString &codigo, int lineas) { LlenarProyectoGrande(*modulo, inicio->Database(), codigo, lineas); }

    // The Gantt page of the project shown.
    void mostrar(const QString &codigo)
    {
        ventana->Table1->dataSet().locate(QStringLiteral("Codigo"), codigo);
        ventana->PageControl1->setActivePage(ventana->PagGrafico);
        QCoreApplication::processEvents();
    }

    QString ficheroSQLite() const { return inicio->Database().databaseName() + QStringLiteral("/datos.sqlite"); }
};

Programa &programa()
{
    static Programa p;
    return p;
}

// The first screen of the Gantt grid as it paints it.
void PintarPantalla(plat::DBGrid &rejilla, QImage &imagen) { rejilla.viewport()->render(&imagen); }

void RepintarPantallaGantt(benchmark::State &state)
{
    Programa &p = programa();
    p.mostrar(kPequeno);
    plat::DBGrid &rejilla = *p.ventana->DBGrid2;
    QImage imagen(rejilla.viewport()->size(), QImage::Format_RGB32);
    plat::DataSet &lineas = p.ventana->Table2->dataSet();
    for (auto _ : state) {
        benchmark::DoNotOptimize(lineas.rowDisplayTexts(0, kFilasPantalla));
        PintarPantalla(rejilla, imagen);
    }
    state.counters["filas_visibles"] = rejilla.rowAt(rejilla.viewport()->height() - 1) + 1;
}
BENCHMARK(RepintarPantallaGantt)->Unit(benchmark::kMillisecond);

void AbrirPaginaGanttDiezMilLineas(benchmark::State &state)
{
    Programa &p = programa();
    p.mostrar(kGrande);
    plat::DBGrid &rejilla = *p.ventana->DBGrid2;
    QImage imagen(rejilla.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        p.ventana->PageControl1->setActivePage(p.ventana->PagGeneral);
        p.ventana->Table2->dataSet().refresh();
        p.ventana->PageControl1->setActivePage(p.ventana->PagGrafico);
        PintarPantalla(rejilla, imagen);
    }
}
BENCHMARK(AbrirPaginaGanttDiezMilLineas)->Unit(benchmark::kMillisecond);

// The floor: per row, the chapter plan of its calculated fields and the project's and the
// chapter's plan of its Gantt cell (a project look-up and a range read each).
void AnclaSQLite(benchmark::State &state, const QString &codigo)
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
    const QByteArray clave = codigo.toUtf8();
    double horas = 0;
    const auto plan = [&](const QByteArray &capitulo, bool todo) {
        sqlite3_bind_text(proyecto, 1, clave.constData(), -1, SQLITE_TRANSIENT);
        while (sqlite3_step(proyecto) == SQLITE_ROW)
            benchmark::DoNotOptimize(sqlite3_column_text(proyecto, 0));
        sqlite3_reset(proyecto);
        const QByteArray desde = todo ? QByteArray() : capitulo;
        const QByteArray hasta = todo ? QByteArray(20, 'z') : capitulo + QByteArray(20, 'z');
        sqlite3_bind_text(lineas, 1, clave.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(lineas, 2, desde.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(lineas, 3, hasta.constData(), -1, SQLITE_TRANSIENT);
        while (sqlite3_step(lineas) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_text(lineas, 0));
            benchmark::DoNotOptimize(sqlite3_column_text(lineas, 1));
            horas += sqlite3_column_double(lineas, 2);
            benchmark::DoNotOptimize(sqlite3_column_text(lineas, 3));
        }
        sqlite3_reset(lineas);
    };
    for (auto _ : state)
        for (int fila = 0; fila < kFilasPantalla; ++fila) {
            const QByteArray capitulo = CapituloGrande(fila).toUtf8();
            plan(capitulo, false);
            plan(QByteArray(), true);
            plan(capitulo, false);
        }
    benchmark::DoNotOptimize(horas);
    sqlite3_finalize(proyecto);
    sqlite3_finalize(lineas);
    sqlite3_close(db);
}
BENCHMARK_CAPTURE(AnclaSQLite, Cien, kPequeno)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AnclaSQLite, DiezMil, kGrande)->Unit(benchmark::kMillisecond);

} // namespace

GP_BENCHMARK_MAIN(Ventanas)
