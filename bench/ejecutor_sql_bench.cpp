// The stored-statement runner on a SELECT of 100,000 rows and 10 columns: from pbEjecutar
// through QryConsultasSQL, the provider and ClientDataSet1 (every row copied, the query
// closed) to the grid's first screen painted, against the raw anchor measured in the same run:
// the same text stepped with the sqlite3 C API on the same file, every row read and every
// value's text copied into one buffer.
#include "AnclaSqlite3Textos.h"
#include "ArranqueBenchmarks.h"
#include "GENEW/reporting/GENEUSQL.h"
#include "ProgramaArrancado.h"
#include "VentasMuestra.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataSetComponents.h"

#include <benchmark/benchmark.h>

namespace {

const QString kSentencia = QStringLiteral("SELECT * FROM VENTAS");

struct Entorno
{
    ProgramaArrancado programa;
    plat::Form *marco = nullptr;

    bool preparar()
    {
        if (!programa.arrancado)
            return false;
        crearVentasMuestra(programa.inicio->Database(), 100000);
        plat::TableDataSet filtro;
        filtro.setTableName(QStringLiteral("FILTRO"));
        if (!programa.modulo->AbrirTabla(filtro)
            || !programa.modulo
                    ->EjecutarSQL(QStringLiteral("INSERT INTO FILTRO (NombreTabla, Descripcion, Filtro) VALUES "
                                                 "('SQL', 'Ventas', '%1')")
                                      .arg(kSentencia))
                    .isEmpty())
            return false;
        marco = new plat::Form();
        marco->setFormStyle(plat::fsMDIForm);
        marco->resize(1000, 700);
        plat::application().setMainForm(marco);
        marco->Show();
        fGENEUSQL = plat::createForm<TfGENEUSQL>();
        fGENEUSQL->CargaConsulta(QStringLiteral("Ventas"));
        return fGENEUSQL && fGENEUSQL->ClientDataSet1->dataSet().recordCount() == 100000;
    }
};

Entorno *entorno = nullptr;   // while the benchmarks run

void EjecutarPrimeraPantalla(benchmark::State &estado)
{
    for (auto _ : estado) {
        fGENEUSQL->pbEjecutar->click();
        benchmark::DoNotOptimize(fGENEUSQL->DBGrid1->viewport()->grab());
    }
    estado.counters["filas"] = double(fGENEUSQL->ClientDataSet1->dataSet().recordCount());
}

void AnclaSqlite3TextosEnUnBuffer(benchmark::State &estado)
{
    const QString fichero = fGENEINIC->Database().location().sqliteFile();
    std::string buffer;
    for (auto _ : estado)
        if (LeerTextosConSqlite3(fichero, kSentencia, buffer) < 0) {
            estado.SkipWithError("cannot read the file");
            break;
        }
    estado.counters["bytes"] = double(buffer.size());
}

BENCHMARK(EjecutarPrimeraPantalla)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(AnclaSqlite3TextosEnUnBuffer)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return ArranqueBenchmarks(argc, argv).ejecutarSobre(entorno);
}
