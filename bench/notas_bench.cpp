// The technical notes window over 100,000 notes and 20,000 DOCUTRON rows (SQLite): opened
// until its grid's first screen is painted (tables opened, the box filter applied, the
// document mark of every visible note looked up), and one box click until the grid is
// painted again. Nothing raw makes and styles a window, so the figures stand against their
// goals alone.
#include "ArranqueBenchmarks.h"
#include "ProgramaArrancado.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"
#include "projects/proyectos/PROYNTEC.h"

#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

constexpr int kNotas = 100000;
constexpr int kDocumentos = 20000;

struct Entorno
{
    ProgramaArrancado programa;
    plat::Form marco;

    ~Entorno()
    {
        plat::application().setMainForm(nullptr);
    }

    bool preparar()
    {
        if (!programa.arrancado)
            return false;
        marco.setFormStyle(plat::fsMDIForm);
        marco.resize(1280, 800);
        plat::application().setMainForm(&marco);
        marco.Show();
        delete abrir();   // the first opening makes the table, the first statement DOCUTRON
        programa.modulo->EjecutarSQL(QStringLiteral("SELECT COUNT(*) FROM DOCUTRON"));
        plat::Connection &empresa = programa.inicio->Database();
        empresa.exec(QStringLiteral(
                         "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                         "INSERT INTO NTECNICA (NotaTecnica, CodigoProyecto, Descripcion, DetectadoPor, FechaDeteccion, "
                         "NivelUrgencia, Situacion, NivelPrioridad) SELECT i, 'P-' || (i % 500), 'Nota técnica ' || i, "
                         "'Operario ' || (i % 40), '2024-03-01', CASE WHEN i % 3 = 0 THEN 'Sugerencia' ELSE 'Error' END, "
                         "CASE WHEN i % 4 = 0 THEN 'Solucionado' ELSE 'Pendiente' END, "
                         "CASE i % 3 WHEN 0 THEN 'Maxima' WHEN 1 THEN 'Urgente' ELSE 'Normal' END FROM n")
                         .arg(kNotas),
                     {}, plat::SqlOrigin::AsWritten);
        empresa.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                    "INSERT INTO DOCUTRON (NombreTabla, ClaveTabla, Nombre) "
                                    "SELECT 'NTECNICA', CAST(i * 5 AS TEXT), 'documento ' || i FROM n")
                         .arg(kDocumentos),
                     {}, plat::SqlOrigin::AsWritten);
        return true;
    }

    TfPROYNTEC *abrir()
    {
        auto *f = new TfPROYNTEC();
        f->afterConstruction();
        return f;
    }
};

Entorno *entorno = nullptr;

// The grid's visible screen painted, as the user first sees it.
int pintarPantalla(TfPROYNTEC &f)
{
    const QImage imagen = f.DBGrid1->viewport()->grab().toImage();
    return imagen.width() + f.DBGrid1->fetchedRows();
}

void AbrirNotasTecnicas(benchmark::State &estado)
{
    for (auto _ : estado) {
        TfPROYNTEC *f = entorno->abrir();
        benchmark::DoNotOptimize(pintarPantalla(*f));
        estado.PauseTiming();
        if (!f->Table1->dataSet().active() || f->Table1->dataSet().isEmpty())
            estado.SkipWithError("the window did not open on its notes");
        delete f;
        estado.ResumeTiming();
    }
}
BENCHMARK(AbrirNotasTecnicas)->Unit(benchmark::kMillisecond)->UseRealTime();

void RefiltrarConUnaCasilla(benchmark::State &estado)
{
    TfPROYNTEC *f = entorno->abrir();
    pintarPantalla(*f);
    for (auto _ : estado) {
        f->VerNormal->setChecked(!f->VerNormal->isChecked());
        benchmark::DoNotOptimize(pintarPantalla(*f));
    }
    if (!entorno->programa.mensajes.textos().isEmpty())
        estado.SkipWithError(qPrintable(entorno->programa.mensajes.textos().join(u'\n')));
    delete f;
}
BENCHMARK(RefiltrarConUnaCasilla)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return ArranqueBenchmarks(argc, argv).ejecutarSobre(entorno);
}
