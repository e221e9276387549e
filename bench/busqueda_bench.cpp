// The record search from pbBuscarClick to the first screen of its grid drawn, on a company
// table of 1,000,000 rows and on one of 1,000 rows with the same columns: the whole table
// (empty datum), a datum on the primary key, a partial-mode datum on the name, an ordered
// search on a column without index, and the first showing of the form (field list, saved
// preferences). Nothing raw does the form's work (its statement, three datasets, the grid's
// columns and painting), so the figures stand against their goals alone.
#include "ArranqueBenchmarks.h"
#include "GENEW/data/ventanas/GENEBUSQ.h"
#include "ProgramaArrancado.h"

#include <QFileInfo>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

QString tabla(int filas) { return filas >= 1000000 ? QStringLiteral("BUSCA1M") : QStringLiteral("BUSCA1K"); }

QByteArray definiciones()
{
    QByteArray lineas;
    for (const char *t : {"BUSCA1M", "BUSCA1K"})
        lineas += QString("%1/C/1/Codigo/ftInteger/0/*/|Busqueda\r\n%1/C/2/Nombre/ftString/40//|Busqueda\r\n"
                          "%1/C/3/PersonaContacto/ftString/40//|Busqueda\r\n%1/C/4/Telefono/ftString/30//|Busqueda\r\n"
                          "%1/C/5/Notas/ftMemo/0//|Busqueda\r\n%1/C/6/Importe/ftFloat/0//|Busqueda\r\n"
                          "%1/I/1/<Primary>/Codigo//|Busqueda\r\n%1/I/2/Clave2/Nombre//|Busqueda\r\n")
                      .arg(t)
                      .toUtf8();
    return lineas;
}

struct Entorno
{
    ProgramaArrancado programa{{.argumentos = {QStringLiteral("U=ADMIN")}, .definicionesAdicionales = definiciones(), .conEmpresa = true}};
    QString fichero;

    bool preparar()
    {
        if (!programa.arrancado)
            return false;
        TModuloDatos *modulo = programa.modulo;
        plat::Connection &empresa = programa.inicio->Database();
        for (int filas : {1000000, 1000}) {
            modulo->EjecutarSQL(QStringLiteral("SELECT COUNT(*) FROM %1").arg(tabla(filas)));   // made from its definition
            empresa.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                        "INSERT INTO %2 SELECT i, 'Cliente número ' || i, 'Persona ' || ((i * 7919) % %1), "
                                        "'600 ' || i, 'nota' || char(13) || char(10) || 'segunda', i * 1.25 FROM n")
                             .arg(filas)
                             .arg(tabla(filas)),
                         {}, plat::SqlOrigin::AsWritten);
        }
        fichero = empresa.location().sqliteFile();
        fGENEBUSQ = plat::createForm<TfGENEBUSQ>();
        fGENEBUSQ->resize(800, 600);
        return QFileInfo::exists(fichero) && modulo->EjecutarSQL("SELECT COUNT(*) FROM BUSCA1M") == "1000000";
    }
};

Entorno *entorno = nullptr;

void mostrar(const QString &tablaBuscada)
{
    fGENEBUSQ->Hide();
    fGENEBUSQ->Tabla = tablaBuscada;
    fGENEBUSQ->Filtro.clear();
    fGENEBUSQ->CamposVisibles.clear();
    fGENEBUSQ->Show();
}

// The search as the user starts it, then the grid's first screen painted.
void buscar(const QString &dato)
{
    fGENEBUSQ->DatoABuscar->setText(dato);
    fGENEBUSQ->pbBuscarClick(nullptr);
    benchmark::DoNotOptimize(fGENEBUSQ->DBGrid1->viewport()->grab());
}

void prepararBusqueda(ModoBusqueda modo, const QString &campos, bool ordenada)
{
    fGENEBUSQ->BusquedaAproximada->setChecked(modo == ModoBusqueda::Aproximada);
    fGENEBUSQ->BusquedaParcial->setChecked(modo == ModoBusqueda::Parcial);
    fGENEBUSQ->ListaCamposBusqueda->setItemIndex(fGENEBUSQ->ListaCamposBusqueda->findText(campos));
    fGENEBUSQ->ResultadosOrdenados->setChecked(ordenada);
}

void contar(benchmark::State &estado)
{
    estado.counters["filas_leidas"] = double(fGENEBUSQ->DBGrid1->fetchedRows());
}

void BuscarTodo(benchmark::State &estado)
{
    mostrar(tabla(int(estado.range(0))));
    prepararBusqueda(ModoBusqueda::Aproximada, QStringLiteral("Codigo"), false);
    for (auto _ : estado)
        buscar(QString());
    contar(estado);
}

void BuscarPorClave(benchmark::State &estado)
{
    const int filas = int(estado.range(0));
    mostrar(tabla(filas));
    prepararBusqueda(ModoBusqueda::Aproximada, QStringLiteral("Codigo"), false);
    for (auto _ : estado)
        buscar(QString::number(filas / 2));
    contar(estado);
}

void BuscarParcialPorNombre(benchmark::State &estado)
{
    mostrar(tabla(int(estado.range(0))));
    prepararBusqueda(ModoBusqueda::Parcial, QStringLiteral("Nombre"), false);
    for (auto _ : estado)
        buscar(QStringLiteral("cliente número 5"));
    contar(estado);
}

void BuscarOrdenadoSinIndice(benchmark::State &estado)
{
    mostrar(tabla(int(estado.range(0))));
    prepararBusqueda(ModoBusqueda::Aproximada, QStringLiteral("PersonaContacto"), true);
    for (auto _ : estado)
        buscar(QString());
    contar(estado);
}

void PrimeraPresentacion(benchmark::State &estado)
{
    for (auto _ : estado)
        mostrar(tabla(int(estado.range(0))));
    estado.counters["entradas"] = double(fGENEBUSQ->ListaCamposBusqueda->count());
}

#define CASOS Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime()
BENCHMARK(BuscarTodo)->CASOS;
BENCHMARK(BuscarPorClave)->CASOS;
BENCHMARK(BuscarParcialPorNombre)->CASOS;
BENCHMARK(BuscarOrdenadoSinIndice)->CASOS;
BENCHMARK(PrimeraPresentacion)->CASOS;

} // namespace

int main(int argc, char **argv)
{
    return ArranqueBenchmarks(argc, argv).ejecutarSobre(entorno);
}
