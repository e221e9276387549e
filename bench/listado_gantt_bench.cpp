// The Gantt listing of the project master (SQLite), over the master's own lines of a
// 1,000-line and a 10,000-line project (ten-line chapters). From the preview call to the
// first page painted in the preview control; every page of the 1,000-line project to a PDF
// file through the data module's report output, and those pages generated alone. Anchor in
// the same run: the plan calculations its bands make (per line the project's span and the
// chapter's, per page the header's span), called alone in the same order.
#include "ProgramaArrancado.h"
#include "ProyectoGrande.h"
#include "app/PRQRLGRA.h"
#include "bench/PrimeraPagina.h"
#include "GENEW/reporting/informes/ImpresoraInforme.h"
#include "platform/ui/Application.h"
#include "projects/proyectos/PROYPROY.h"
#include "projects/proyectos/Proymodu.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

const QString kMil = QStringLiteral("P1000");
const QString kDiezMil = QStringLiteral("P10000");

// A started program with both projects and the project master open on an MDI frame.
struct Programa : ProgramaArrancado
{
    plat::Form *marco = nullptr;
    TfPROYPROY *ventana = nullptr;

    Programa()
    {
        CrearMDProyectos();
        LlenarProyectoGrande(*modulo, inicio->Database(), kMil, 1000);
        LlenarProyectoGrande(*modulo, inicio->Database(), kDiezMil, 10000);
        marco = plat::createForm<plat::Form>();
        marco->setFormStyle(plat::fsMDIForm);
        plat::application().setMainForm(marco);
        marco->Show();
        ventana = plat::createForm<TfPROYPROY>();
        QCoreApplication::processEvents();
    }

    ~Programa()
    {
        delete ventana;
        plat::application().setMainForm(nullptr);
        delete marco;
        LiberarMDProyectos();
    }

    // The request of the master's portrait print button on the project.
    PeticionListadoGrafico peticion(const QString &codigo)
    {
        ventana->Table1->dataSet().locate(QStringLiteral("Codigo"), codigo);
        const PlanProyecto plan = MDProyectos->CalcularPlanProyecto(codigo, QString());
        PeticionListadoGrafico p;
        p.FechaInicioInforme = plan.FechaInicio;
        p.FechaFinalInforme = plan.FechaFinal;
        p.ModoInforme = QStringLiteral("Capitulos");
        p.DataSet = &ventana->Table2->dataSet();
        p.Titulo = QStringLiteral("Proyecto: ") + codigo;
        p.VistaPrevia = false;
        return p;
    }
};

// Made in main after the application and gone before it.
Programa *programa_ = nullptr;
Programa &programa() { return *programa_; }

void PrimeraPaginaEnVistaPrevia(benchmark::State &state, const QString &codigo)
{
    Programa &p = programa();
    const PeticionListadoGrafico peticion = p.peticion(codigo);
    for (auto _ : state) {
        auto *listado = plat::createForm<TfPRQRLGRA>();
        listado->FechaInicioInforme = peticion.FechaInicioInforme;
        listado->FechaFinalInforme = peticion.FechaFinalInforme;
        listado->ModoInforme = peticion.ModoInforme;
        listado->QuickReport->DataSet = peticion.DataSet;
        listado->QuickReport->ReportTitle = peticion.Titulo;
        Informe &informe = *listado->QuickReport;
        state.SetIterationTime(segundosHastaPrimeraPagina(informe));
        delete listado;
    }
}
BENCHMARK_CAPTURE(PrimeraPaginaEnVistaPrevia, MilLineas, kMil)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(PrimeraPaginaEnVistaPrevia, DiezMilLineas, kDiezMil)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// The pages the header band prints on in the 1,000-line project, for the anchor: counted
// once, outside any timing, whichever case runs first.
int paginasMil()
{
    static const int paginas = [] {
        Programa &p = programa();
        const PeticionListadoGrafico peticion = p.peticion(kMil);
        auto *listado = plat::createForm<TfPRQRLGRA>();
        listado->ModoInforme = peticion.ModoInforme;
        listado->QuickReport->DataSet = peticion.DataSet;
        listado->QuickReport->Prepare();
        const int n = listado->QuickReport->pageCount();
        delete listado;
        return n;
    }();
    return paginas;
}

void TodasLasPaginasAPdf(benchmark::State &state)
{
    Programa &p = programa();
    const PeticionListadoGrafico peticion = p.peticion(kMil);
    const QString pdf = p.carpeta.filePath(QStringLiteral("gantt.pdf"));
    for (auto _ : state)
        ImprimirListadoGraficoConInforme(peticion, QStringLiteral("PDF:") + pdf);
    QFile fichero(pdf);
    if (!fichero.exists() || fichero.size() == 0)
        state.SkipWithError("no PDF was written");
    state.counters["paginas"] = paginasMil();
}
BENCHMARK(TodasLasPaginasAPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

// The pages generated alone, without the PDF (the share of the report output above).
void PrepararTodasLasPaginas(benchmark::State &state)
{
    Programa &p = programa();
    const PeticionListadoGrafico peticion = p.peticion(kMil);
    for (auto _ : state) {
        auto *listado = plat::createForm<TfPRQRLGRA>();
        listado->FechaInicioInforme = peticion.FechaInicioInforme;
        listado->FechaFinalInforme = peticion.FechaFinalInforme;
        listado->ModoInforme = peticion.ModoInforme;
        listado->QuickReport->DataSet = peticion.DataSet;
        listado->QuickReport->Prepare();
        state.counters["paginas"] = listado->QuickReport->pageCount();
        delete listado;
    }
}
BENCHMARK(PrepararTodasLasPaginas)->Unit(benchmark::kMillisecond)->Iterations(3);

// The anchor: the bands' plan calculations alone, on the lines read once beforehand.
void AnclaCalculosDeLasBandas(benchmark::State &state)
{
    Programa &p = programa();
    const int paginas = paginasMil();
    p.peticion(kMil);
    QStringList capitulos;
    plat::DataSet &lineas = p.ventana->Table2->dataSet();
    for (lineas.first(); !lineas.eof(); lineas.next())
        capitulos << lineas.fieldByName(QStringLiteral("Capitulo")).asString();
    for (auto _ : state) {
        for (int pagina = 0; pagina < paginas; ++pagina)
            benchmark::DoNotOptimize(MDProyectos->CalcularPlanProyecto(kMil, QString()));
        for (const QString &capitulo : std::as_const(capitulos)) {
            benchmark::DoNotOptimize(MDProyectos->CalcularPlanProyecto(kMil, QString()));
            benchmark::DoNotOptimize(MDProyectos->CalcularPlanProyecto(kMil, capitulo));
        }
    }
    state.counters["lineas"] = capitulos.size();
    state.counters["paginas"] = paginas;
}
BENCHMARK(AnclaCalculosDeLasBandas)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Programa programa;
    if (!programa.arrancado) {
        fprintf(stderr, "%s\n", qPrintable(programa.motivoFallo()));
        return 1;
    }
    programa_ = &programa;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
