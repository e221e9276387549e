// The fills of the two print-request windows on an SQLite company of a started program, each
// timed as its window runs it apart from the print engine: the request tables made from their
// definition texts, filled inside one transaction, and dropped.
//  - ProyectoCincoMilLineas: project documents for one project of 5,000 lines (500 heading chapters
//    of one dot, "g.1", each followed by nine "g.1.r"), 500 spacer rows added by the fill.
//  - GamasPorArticulo: control ranges by article, grouped, over 200 articles naming 3 ranges
//    each, every range of 20 lines (12,000 line rows, 200 documents with their responsibility
//    and history looked up).
// Nothing raw makes the request tables from their definitions and fills them by the
// windows' rules, so the figures stand against their goals alone.
#include "ArranqueBenchmarks.h"
#include "ProgramaArrancado.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/data/DataSetComponents.h"
#include "projects/gamas/CALILGAM.h"
#include "projects/proyectos/PROYLPRO.h"
#include "projects/comun/PeticionImpreso.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kLineasProyecto = 5000;
constexpr int kArticulos = 200;
constexpr int kGamasPorArticulo = 3;
constexpr int kLineasPorGama = 20;

void ejecutar(plat::TableDataSet &t, const QString &sql)
{
    t.connection()->exec(sql, {}, plat::SqlOrigin::AsWritten);
}

const char kSerie[] = "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ";

struct Empresa
{
    ProgramaArrancado programa;
    plat::TableComponent proyecto, lineasProyecto, gama, lineasGama, historicoGama, articulo, orden;
    bool lleno = false;

    Empresa()
    {
        if (!programa.arrancado)
            return;
        const std::pair<plat::TableComponent *, const char *> tablas[] = {
            {&proyecto, "PROYECT"}, {&lineasProyecto, "LPROYECT"}, {&gama, "GCNTROL"},   {&lineasGama, "LGCNTROL"},
            {&historicoGama, "HGCNTROL"}, {&articulo, "ARTICULO"},  {&orden, "OORDEN"}};
        for (const auto &[componente, nombre] : tablas) {
            componente->setTableName(QLatin1String(nombre));
            if (!fGENEINIC->AbrirDataSet(componente->table()))
                return;
        }
        plat::TableDataSet &p = proyecto.table();
        ejecutar(p, QStringLiteral("INSERT INTO PROYECT (Codigo, Descripcion) VALUES ('1', 'Proyecto de prueba')"));
        ejecutar(p, QString::fromLatin1(kSerie).arg(kLineasProyecto)
                        + QStringLiteral("INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo, Descripcion, "
                                         "DescripcionAmpliada, TiempoPrevisto, Importe) SELECT '1', i, "
                                         "CASE WHEN i % 10 = 1 THEN CAST(i / 10 + 1 AS TEXT) || '.1' "
                                         "ELSE CAST(i / 10 + 1 AS TEXT) || '.1.' || CAST(i % 10 AS TEXT) END, "
                                         "'Capitulo ' || i, 'Texto ampliado', i % 7, i * 1.5 FROM n"));
        const int gamas = kArticulos * kGamasPorArticulo;
        ejecutar(p, QString::fromLatin1(kSerie).arg(gamas)
                        + QStringLiteral("INSERT INTO GCNTROL (Codigo, Descripcion, NivelModificacion) "
                                         "SELECT 'G' || substr('0000' || i, -4), 'Gama ' || i, 'B' FROM n"));
        ejecutar(p, QString::fromLatin1(kSerie).arg(gamas * kLineasPorGama)
                        + QStringLiteral("INSERT INTO LGCNTROL (Codigo, Linea, Descripcion, DescripcionAmpliada, NCA) "
                                         "SELECT 'G' || substr('0000' || ((i - 1) / %1 + 1), -4), (i - 1) % %1 + 1, "
                                         "'Caracteristica ' || i, 'Ampliada', 'N' FROM n")
                              .arg(kLineasPorGama));
        ejecutar(p, QString::fromLatin1(kSerie).arg(kArticulos)
                        + QStringLiteral("INSERT INTO ARTICULO (Codigo, CodigoGama) SELECT 'A' || substr('0000' || i, -4), "
                                         "'G' || substr('0000' || (3 * i - 2), -4) || char(13, 10) || "
                                         "'G' || substr('0000' || (3 * i - 1), -4) || char(13, 10) || "
                                         "'G' || substr('0000' || (3 * i), -4) FROM n"));
        for (auto *t : {&proyecto, &lineasProyecto, &gama, &lineasGama, &articulo})
            t->table().refresh();
        lleno = true;
    }

    bool listo() const { return lleno; }
};

Empresa &empresa()
{
    static Empresa e;
    return e;
}

// One request run as the windows run it, less the engine.
void ejecutarPeticion(benchmark::State &state, PeticionImpreso &peticion, int documentosEsperados, int lineasEsperadas)
{
    for (auto _ : state) {
        TablasPeticion tablas(peticion);
        rellenarPeticion(peticion, tablas.documentos(), tablas.lineas());
        state.PauseTiming();
        tablas.lineas().setMasterSource(nullptr, QString());
        tablas.lineas().refresh();
        const bool completo = tablas.documentos().recordCount() == documentosEsperados
            && tablas.lineas().recordCount() == lineasEsperadas;
        state.ResumeTiming();
        if (!completo)
            state.SkipWithError("the fill wrote other rows than expected");
    }
}

void ProyectoCincoMilLineas(benchmark::State &state)
{
    Empresa &e = empresa();
    if (!e.listo()) {
        state.SkipWithError(e.programa.motivoFallo().toStdString().c_str());
        return;
    }
    PeticionImpreso peticion;
    peticion.definicionDocumentos = DefinicionDocumentosProyecto;
    peticion.definicionLineas = DefinicionLineasProyecto;
    peticion.indiceLineas = QStringLiteral("CodigoProyecto;Linea;LineaMemo");
    peticion.campoMaestroLineas = QStringLiteral("CodigoProyecto");
    peticion.rellenar = [&e](plat::TableDataSet &documentos, plat::TableDataSet &lineas) {
        RellenarDocumentosProyecto(e.proyecto.table(), e.lineasProyecto.table(), QStringLiteral("1"), QStringLiteral("1"),
                                   documentos, lineas);
    };
    ejecutarPeticion(state, peticion, 1, kLineasProyecto + kLineasProyecto / 10);   // a spacer per heading
    state.counters["lineas"] = kLineasProyecto;
}
BENCHMARK(ProyectoCincoMilLineas)->Unit(benchmark::kMillisecond);

void GamasPorArticulo(benchmark::State &state)
{
    Empresa &e = empresa();
    if (!e.listo()) {
        state.SkipWithError(e.programa.motivoFallo().toStdString().c_str());
        return;
    }
    PeticionImpreso peticion;
    peticion.definicionDocumentos = DefinicionDocumentosGama;
    peticion.definicionLineas = DefinicionLineasGama;
    peticion.indiceLineas = QStringLiteral("Prefijo;Linea;LineaMemo");
    peticion.campoMaestroLineas = QStringLiteral("Prefijo");
    SeleccionGamas seleccion;
    seleccion.desdeGama = QString();
    seleccion.hastaGama = QStringLiteral("zzzzzzzzzzzzzzzzzzzz");
    seleccion.desdeArticulo = QStringLiteral("A");
    seleccion.hastaArticulo = QStringLiteral("Az");
    peticion.rellenar = [&e, &seleccion](plat::TableDataSet &documentos, plat::TableDataSet &lineas) {
        RellenarGamasControl({e.gama.table(), e.lineasGama.table(), e.historicoGama.table(), e.articulo.table(),
                              e.orden.table()},
                             seleccion, documentos, lineas);
    };
    ejecutarPeticion(state, peticion, kArticulos, kArticulos * kGamasPorArticulo * kLineasPorGama);
    state.counters["lineas"] = kArticulos * kGamasPorArticulo * kLineasPorGama;
}
BENCHMARK(GamasPorArticulo)->Unit(benchmark::kMillisecond);

} // namespace

GP_BENCHMARK_MAIN(Ventanas)
