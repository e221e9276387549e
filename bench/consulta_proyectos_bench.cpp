// The project query's costs on SQLite, over 1,000 projects of 100 chapters (the first 200
// led by director 1) and one project of 10,000 chapters: a repaint of 40 project rows of
// the projects' Gantt grid, of 40 chapter rows of the chapters' Gantt grid, the chapters'
// first screen of the 10,000-chapter project, and the query with statistics over 200
// projects. Nothing raw does the query's work short of writing the program again, so the
// figures stand against their goals alone.
#include "ArranqueBenchmarks.h"
#include "ProgramaArrancado.h"
#include "platform/base/FechaHora.h"
#include "platform/ui/Application.h"
#include "projects/proyectos/PROYCPRO.h"
#include "projects/proyectos/Proymodu.h"

#include <QImage>
#include <benchmark/benchmark.h>

namespace {

constexpr int kProyectos = 1000;
constexpr int kCapitulos = 100;
constexpr int kProyectosDirector = 200;
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
};

// Made in main after the application and gone before it.
Programa *programa_ = nullptr;
Programa &programa() { return *programa_; }

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

} // namespace

int main(int argc, char **argv)
{
    ArranqueBenchmarks arranque(argc, argv);
    Programa programa;
    programa_ = &programa;
    return arranque.ejecutar();
}
