// The project query's costs on SQLite, over 1,000 projects of 100 chapters (the first 200
// led by director 1) and one project of 10,000 chapters: a repaint of 40 project rows of
// the projects' Gantt grid, of 40 chapter rows of the chapters' Gantt grid, the chapters'
// first screen of the 10,000-chapter project, and the query with statistics over 200
// projects. Anchors in the same run: the same plan reads through prepared statements of
// the sqlite3 C API on the same file.
#include "ArranqueBenchmarks.h"
#include "ProgramaArrancado.h"
#include "platform/base/FechaHora.h"
#include "platform/ui/Application.h"
#include "projects/proyectos/PROYCPRO.h"
#include "projects/proyectos/Proymodu.h"

#include <QImage>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int kProyectos = 1000;
constexpr int kCapitulos = 100;
constexpr int kProyectosDirector = 200;
constexpr int kFilasPantalla = 40;
const QString kGrande = QStringLiteral("Z10000");

QString CodigoProyecto(int i) { return QStringLiteral("P%1").arg(i, 4, 10, QLatin1Char('0')); }
QString Capitulo(int linea)
{
    const QString capitulo = QStringLiteral("%1").arg(linea / 10 + 1, 4, 10, QLatin1Char('0'));
    return linea % 10 == 0 ? capitulo : capitulo + QStringLiteral(".%1").arg(linea % 10, 2, 10, QLatin1Char('0'));
}

struct Programa : ProgramaArrancado
{
    plat::Form *marco = nullptr;
    TfPROYCPRO *ventana = nullptr;

    Programa()
    {
        CrearMDProyectos();
        llenar();
        marco = plat::createForm<plat::Form>();
        marco->setFormStyle(plat::fsMDIForm);
        plat::application().setMainForm(marco);
        marco->resize(1100, 1900);
        marco->Show();
        ventana = plat::createForm<TfPROYCPRO>();
        ventana->setBounds(0, 0, 1080, 1880);
        ventana->EditCodigoOperario->setText(QStringLiteral("Directora - 1"));
        ventana->PageControl1->setActivePage(ventana->PagGrafico);
        ventana->PageControl1Change(ventana->PageControl1);
        // The chapters' grid takes the larger share of the page.
        ventana->Splitter1->setSizes({900, 900});
        ventana->FormActivate(ventana);
        QCoreApplication::processEvents();
    }

    ~Programa()
    {
        delete ventana;
        plat::application().setMainForm(nullptr);
        delete marco;
        LiberarMDProyectos();
    }

    void proyecto(plat::Connection &db, const QString &codigo, int director, const QDate &aceptacion, int capitulos)
    {
        db.exec(QStringLiteral("INSERT INTO PROYECT (Codigo, Descripcion, NombreCliente, Director, FechaAceptacion, "
                               "FechaEntrega, Situacion) VALUES (:c, 'Proyecto', 'Cliente', :d, :a, :e, 'Abierto')"),
                {{QStringLiteral("c"), codigo},
                 {QStringLiteral("d"), director},
                 {QStringLiteral("a"), FechaHora(aceptacion)},
                 {QStringLiteral("e"), FechaHora(aceptacion.addDays(300))}});
        for (int l = 0; l < capitulos; ++l) {
            const bool titulo = l % 10 == 0;
            const QDate inicioLinea = aceptacion.addDays((3 * l) % 300);
            db.exec(QStringLiteral("INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo, Descripcion, FechaInicio, "
                                   "FechaFinal, TiempoPrevisto, GradoAvance) VALUES (:c, :l, :k, 'Capítulo', :i, :f, :t, :g)"),
                    {{QStringLiteral("c"), codigo},
                     {QStringLiteral("l"), l + 1},
                     {QStringLiteral("k"), Capitulo(l)},
                     {QStringLiteral("i"), titulo ? QVariant() : QVariant(FechaHora(inicioLinea))},
                     {QStringLiteral("f"), titulo ? QVariant() : QVariant(FechaHora(inicioLinea.addDays(10)))},
                     {QStringLiteral("t"), titulo ? 0.0 : 8.0},
                     {QStringLiteral("g"), l % 3 == 0 ? QStringLiteral("90") : QStringLiteral("50")}});
        }
    }

    void llenar()
    {
        plat::Connection &db = inicio->Database();
        // Made from their definitions when missing.
        modulo->EjecutarSQL(QStringLiteral("DELETE FROM PROYECT"));
        modulo->EjecutarSQL(QStringLiteral("DELETE FROM LPROYECT"));
        modulo->EjecutarSQL(QStringLiteral("DELETE FROM OPERARIO"));
        modulo->EjecutarSQL(QStringLiteral("INSERT INTO OPERARIO (Codigo, Nombre) VALUES (1, 'Directora')"));
        modulo->EjecutarSQL(QStringLiteral("INSERT INTO OPERARIO (Codigo, Nombre) VALUES (2, 'Otro')"));
        db.startTransaction();
        const QDate hoy = Ahora().date();
        for (int p = 0; p < kProyectos; ++p)
            proyecto(db, CodigoProyecto(p), p < kProyectosDirector ? 1 : 2, hoy.addDays(-100 + p % 50), kCapitulos);
        proyecto(db, kGrande, 3, hoy.addDays(-100), 10000);
        db.commit();
    }

    QString ficheroSQLite() const { return inicio->Database().databaseName() + QStringLiteral("/datos.sqlite"); }
};

Programa &programa()
{
    static Programa p;
    return p;
}

// Reads a project's (or chapter's) lines and its header, as one plan does.
struct AnclaPlanes
{
    sqlite3 *db = nullptr;
    sqlite3_stmt *proyecto = nullptr, *lineas = nullptr;
    double horas = 0;

    AnclaPlanes()
    {
        sqlite3_open_v2(programa().ficheroSQLite().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_prepare_v2(db, "SELECT FechaAceptacion, FechaEntrega, FechaFinalizacion FROM PROYECT WHERE Codigo = ?",
                           -1, &proyecto, nullptr);
        sqlite3_prepare_v2(db,
                           "SELECT FechaInicio, FechaFinal, TiempoPrevisto, GradoAvance FROM LPROYECT WHERE "
                           "CodigoProyecto = ?1 AND Capitulo >= ?2 AND Capitulo <= ?3 ORDER BY CodigoProyecto, Capitulo",
                           -1, &lineas, nullptr);
    }
    ~AnclaPlanes()
    {
        sqlite3_finalize(proyecto);
        sqlite3_finalize(lineas);
        sqlite3_close(db);
    }

    void plan(const QByteArray &codigo, const QByteArray &capitulo)
    {
        sqlite3_bind_text(proyecto, 1, codigo.constData(), -1, SQLITE_TRANSIENT);
        while (sqlite3_step(proyecto) == SQLITE_ROW)
            benchmark::DoNotOptimize(sqlite3_column_text(proyecto, 0));
        sqlite3_reset(proyecto);
        const QByteArray hasta = capitulo + QByteArray(20, 'z');
        sqlite3_bind_text(lineas, 1, codigo.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(lineas, 2, capitulo.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(lineas, 3, hasta.constData(), -1, SQLITE_TRANSIENT);
        while (sqlite3_step(lineas) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_text(lineas, 0));
            benchmark::DoNotOptimize(sqlite3_column_text(lineas, 1));
            horas += sqlite3_column_double(lineas, 2);
            benchmark::DoNotOptimize(sqlite3_column_text(lineas, 3));
        }
        sqlite3_reset(lineas);
    }
};

void Pintar(plat::DBGrid &rejilla, QImage &imagen) { rejilla.viewport()->render(&imagen); }

int FilasVisibles(plat::DBGrid &rejilla) { return rejilla.rowAt(rejilla.viewport()->height() - 1) + 1; }

void RepintarProyectos(benchmark::State &state)
{
    Programa &p = programa();
    plat::DBGrid &rejilla = *p.ventana->DBGrid2;
    QImage imagen(rejilla.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state)
        Pintar(rejilla, imagen);
    state.counters["filas_visibles"] = FilasVisibles(rejilla);
}
BENCHMARK(RepintarProyectos)->Unit(benchmark::kMillisecond);

void RepintarCapitulos(benchmark::State &state)
{
    Programa &p = programa();
    p.ventana->Proyecto->dataSet().first();
    plat::DBGrid &rejilla = *p.ventana->DBGrid3;
    QImage imagen(rejilla.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state)
        Pintar(rejilla, imagen);
    state.counters["filas_visibles"] = FilasVisibles(rejilla);
}
BENCHMARK(RepintarCapitulos)->Unit(benchmark::kMillisecond);

// The 10,000-chapter project chosen: its chapters read and their first screen painted.
void PrimeraPantallaDiezMilCapitulos(benchmark::State &state)
{
    Programa &p = programa();
    TfPROYCPRO &f = *p.ventana;
    f.EditCodigoOperario->setText(QStringLiteral("Todos"));
    f.ConstruirConsultaProyectos();
    plat::DBGrid &rejilla = *f.DBGrid3;
    QImage imagen(rejilla.viewport()->size(), QImage::Format_RGB32);
    plat::DataSet &proyectos = f.Proyecto->dataSet();
    for (auto _ : state) {
        proyectos.first();
        proyectos.locate(QStringLiteral("Codigo"), kGrande);
        Pintar(rejilla, imagen);
    }
    state.counters["filas_visibles"] = FilasVisibles(rejilla);
    f.EditCodigoOperario->setText(QStringLiteral("Directora - 1"));
    f.ConstruirConsultaProyectos();
}
BENCHMARK(PrimeraPantallaDiezMilCapitulos)->Unit(benchmark::kMillisecond);

void ConsultaConEstadisticas(benchmark::State &state)
{
    Programa &p = programa();
    p.ventana->pbEstadisticas->setDownState(true);
    for (auto _ : state)
        p.ventana->ConstruirConsultaProyectos();
    p.ventana->pbEstadisticas->setDownState(false);
    state.counters["proyectos"] = p.ventana->Proyecto->dataSet().recordCount();
}
BENCHMARK(ConsultaConEstadisticas)->Unit(benchmark::kMillisecond);

// The floors: per project row one project plan; per chapter row its project's and its
// chapter's plan; per project of the query a plan and a horizon read.
void AnclaProyectos(benchmark::State &state)
{
    AnclaPlanes ancla;
    for (auto _ : state)
        for (int fila = 0; fila < kFilasPantalla; ++fila)
            ancla.plan(CodigoProyecto(fila).toUtf8(), QByteArray());
    benchmark::DoNotOptimize(ancla.horas);
}
BENCHMARK(AnclaProyectos)->Unit(benchmark::kMillisecond);

void AnclaCapitulos(benchmark::State &state)
{
    AnclaPlanes ancla;
    const QByteArray codigo = CodigoProyecto(0).toUtf8();
    for (auto _ : state)
        for (int fila = 0; fila < kFilasPantalla; ++fila) {
            ancla.plan(codigo, QByteArray());
            ancla.plan(codigo, Capitulo(fila).toUtf8());
        }
    benchmark::DoNotOptimize(ancla.horas);
}
BENCHMARK(AnclaCapitulos)->Unit(benchmark::kMillisecond);

void AnclaConsulta(benchmark::State &state)
{
    AnclaPlanes ancla;
    for (auto _ : state)
        for (int p = 0; p < kProyectosDirector; ++p) {
            ancla.plan(CodigoProyecto(p).toUtf8(), QByteArray());
            ancla.plan(CodigoProyecto(p).toUtf8(), QByteArray());
        }
    benchmark::DoNotOptimize(ancla.horas);
}
BENCHMARK(AnclaConsulta)->Unit(benchmark::kMillisecond);

} // namespace

GP_BENCHMARK_MAIN(Ventanas)
