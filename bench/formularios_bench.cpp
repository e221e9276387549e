// AbrirTablasFormulario on a form of 300 components (a grid over the form's table, a data
// source, and labels whose captions half are TXIDIOMA keys) with the language set, over a
// table of 1,000,000 rows and one of 1,000 (SQLite): the first opening of a run (empty
// translation cache) and later ones (cache warm). Nothing raw does a form's opening, so the
// figures stand against their goals alone.
#include "ArranqueBenchmarks.h"
#include "GENEW/data/servicios/CacheTraducciones.h"
#include "ProgramaArrancado.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataSetComponents.h"
#include "platform/ui/data/DataSource.h"

#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

constexpr int kComponentes = 300;

QString definicion(const QString &tabla)
{
    return QStringLiteral("%1/C/1/Codigo/ftInteger/0/*/|Pruebas\r\n%1/C/2/Descripcion/ftString/40//|Pruebas\r\n"
                          "%1/C/3/PrecioUnidad/ftFloat/0//|Pruebas\r\n%1/C/4/FechaHoraInicio/ftDateTime/0//|Pruebas\r\n"
                          "%1/I/1/<Primary>/Codigo//|Pruebas\r\n")
        .arg(tabla);
}

class FormularioGrande : public plat::Form
{
public:
    explicit FormularioGrande(const QString &tabla)
    {
        setObjectName(QStringLiteral("fGRANDE"));
        setCaption(QStringLiteral("Clave de prueba 1"));
        Tabla = make<plat::TableComponent>(QStringLiteral("Table1"), this);
        Tabla->setTableName(tabla);
        auto *fuente = make<plat::DataSource>(QStringLiteral("DataSource1"), this);
        fuente->setDataSet(&Tabla->table());
        Rejilla = make<plat::DBGrid>(QStringLiteral("DBGrid1"), this);
        Rejilla->setDataSource(fuente);
        for (int i = 3; i < kComponentes; ++i) {
            auto *etiqueta = make<plat::Label>(QStringLiteral("Etiqueta%1").arg(i), this);
            etiqueta->setCaption(i % 2 ? QStringLiteral("&Etiqueta %1").arg(i) : QStringLiteral("Clave de prueba %1").arg(i));
        }
    }
    plat::TableComponent *Tabla;
    plat::DBGrid *Rejilla;
};

struct Entorno
{
    ProgramaArrancado programa{{.argumentos = {QStringLiteral("U=ADMIN"), QStringLiteral("T=Ingles")},
                                .definicionesAdicionales = (definicion("PRUEBAG") + definicion("PRUEBAP")).toUtf8(),
                                .conEmpresa = true}};
    bool preparar()
    {
        if (!programa.arrancado)
            return false;
        TfGENEINIC &inicio = *programa.inicio;
        programa.modulo->EjecutarSQL(QStringLiteral("SELECT COUNT(*) FROM TXIDIOMA"), QStringLiteral("DatabaseGeneral"));
        inicio.DatabaseGeneral().exec(
            QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10000) "
                           "INSERT INTO TXIDIOMA (Idioma, ClaveTexto, Texto) "
                           "SELECT 'Ingles', 'Clave de prueba ' || i, 'Test key ' || i FROM n"),
            {}, plat::SqlOrigin::AsWritten);
        for (const auto &[tabla, filas] : {std::pair{QStringLiteral("PRUEBAG"), 1000000}, std::pair{QStringLiteral("PRUEBAP"), 1000}}) {
            delete crear(tabla);   // the first opening makes the table
            inicio.Database().exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                                  "INSERT INTO %2 (Codigo, Descripcion, PrecioUnidad, FechaHoraInicio) "
                                                  "SELECT i, 'Registro ' || i, i * 0.5, '2024-03-31 02:30:00' FROM n")
                                       .arg(filas)
                                       .arg(tabla),
                                   {}, plat::SqlOrigin::AsWritten);
        }
        return true;
    }

    FormularioGrande *crear(const QString &tabla)
    {
        auto *f = new FormularioGrande(tabla);
        if (!programa.inicio->AbrirTablasFormulario(*f))
            std::fprintf(stderr, "%s\n", qPrintable(programa.mensajes.textos().join(u'\n')));
        return f;
    }
};

Entorno *entorno = nullptr;

void abrirFormulario(benchmark::State &estado, const QString &tabla, bool cacheCaliente)
{
    if (cacheCaliente)
        delete entorno->crear(tabla);
    for (auto _ : estado) {
        estado.PauseTiming();
        if (!cacheCaliente)
            CacheTraducciones::instancia().vaciar();
        auto *f = new FormularioGrande(tabla);
        estado.ResumeTiming();
        entorno->programa.inicio->AbrirTablasFormulario(*f);
        estado.PauseTiming();
        if (!f->Tabla->table().active() || f->caption() != QLatin1String("Test key 1"))
            estado.SkipWithError("the form did not open translated");
        delete f;
        estado.ResumeTiming();
    }
}

void AbrirFormularioMillonFilas(benchmark::State &estado) { abrirFormulario(estado, QStringLiteral("PRUEBAG"), true); }
BENCHMARK(AbrirFormularioMillonFilas)->Unit(benchmark::kMillisecond)->UseRealTime();

void AbrirFormularioMilFilas(benchmark::State &estado) { abrirFormulario(estado, QStringLiteral("PRUEBAP"), true); }
BENCHMARK(AbrirFormularioMilFilas)->Unit(benchmark::kMillisecond)->UseRealTime();

void AbrirFormularioMillonFilasCacheVacia(benchmark::State &estado)
{
    abrirFormulario(estado, QStringLiteral("PRUEBAG"), false);
}
BENCHMARK(AbrirFormularioMillonFilasCacheVacia)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return ArranqueBenchmarks(argc, argv).ejecutarSobre(entorno);
}
