// The field commands' look-ups: 2,000 lines whose [LINEAS] holds a connection line and a
// reference Camp over a 100,000-row SQLite table (the connection list grows by one entry a
// line), printed to screen pages; and the look-ups of Tabla.Campo expression terms per
// second. Each look-up opens a new table on the lines' connection, as the commands are
// defined to, which nothing raw does: the figures stand against their goals alone.
#include "ArranqueBenchmarks.h"
#include "GENEW/reporting/impresos/GENELIMP.h"
#include "GENEW/reporting/impresos/ServiciosImpresion.h"
#include "platform/base/SalidaMensajes.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"
#include "platform/ui/data/DataSetComponents.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kClientes = 100000;
constexpr int kLineas = 2000;

const char *const kImpreso = "[SISTEMA]\r\nAlturaLinea=5\r\nInicioLineas=20\r\nFinLineas=280\r\n"
                             "[LINEAS]\r\nConexion=CLIENTE>CodigoCliente\r\nCamp=10;0;0;CLIENTE.Nombre\r\n";
// One connection for the whole run and a Tabla.Campo term in an expression on every line:
// each line makes one BuscarValorTablaCampo look-up.
const char *const kImpresoExpresion = "[SISTEMA]\r\nAlturaLinea=5\r\nInicioLineas=20\r\nFinLineas=280\r\n"
                                      "Conexion=CLIENTE>CodigoCliente\r\n"
                                      "[LINEAS]\r\nExpr=10;0;0;CLIENTE.Numero + 1;;0\r\n";

plat::IndexDef Indice(const QStringList &campos)
{
    plat::IndexDef i;
    i.name = "Clave1";
    i.fields = campos;
    i.primary = i.unique = true;
    return i;
}

QString Codigo(int n)
{
    return QStringLiteral("C%1").arg((n * 7919) % kClientes, 6, 10, QLatin1Char('0'));
}

struct Datos
{
    QTemporaryDir carpeta;
    plat::Session sesion;
    plat::Connection &db() { return sesion.connection(QStringLiteral("Database")); }

    Datos()
    {
        db().setDatabaseName(carpeta.path());
        plat::TableDef impreso;
        impreso.name = "IMPRESO";
        impreso.fields = {plat::fieldDef("Codigo", ftString, 20, true), plat::fieldDef("Descripcion", ftString, 40),
                          plat::fieldDef("TipoDocumento", ftString, 20), plat::fieldDef("Modo", ftString, 10),
                          plat::fieldDef("Instrucciones", ftMemo), plat::fieldDef("Formato", ftString, 30),
                          plat::fieldDef("ImpresoraPorDefecto", ftString, 100)};
        impreso.indexes = {Indice({"Codigo"})};
        db().createTable(impreso);
        db().exec("INSERT INTO IMPRESO VALUES ('B', 'B', 'Otro', 'Grafico', :i, 'A4', 'Predeterminada')",
                  {{"i", QString::fromUtf8(kImpreso)}});
        db().exec("INSERT INTO IMPRESO VALUES ('E', 'E', 'Otro', 'Grafico', :i, 'A4', 'Predeterminada')",
                  {{"i", QString::fromUtf8(kImpresoExpresion)}});
        plat::TableDef cliente;
        cliente.name = "CLIENTE";
        cliente.fields = {plat::fieldDef("Codigo", ftString, 10, true), plat::fieldDef("Nombre", ftString, 40),
                          plat::fieldDef("Numero", ftInteger)};
        cliente.indexes = {Indice({"Codigo"})};
        db().createTable(cliente);
        plat::TableDef docs;
        docs.name = "TMPDOC";
        docs.fields = {plat::fieldDef("CodigoTemporal", ftInteger, 0, true)};
        docs.indexes = {Indice({"CodigoTemporal"})};
        db().createTable(docs);
        plat::TableDef lineas;
        lineas.name = "TMPLIN";
        lineas.fields = {plat::fieldDef("CodigoTemporal", ftInteger, 0, true), plat::fieldDef("Linea", ftSmallint, 0, true),
                         plat::fieldDef("LineaMemo", ftSmallint, 0, true), plat::fieldDef("CodigoCliente", ftString, 10)};
        lineas.indexes = {Indice({"CodigoTemporal", "Linea", "LineaMemo"})};
        db().createTable(lineas);
        db().startTransaction();
        for (int c = 0; c < kClientes; ++c)
            db().exec("INSERT INTO CLIENTE VALUES (:c, :n, :c2)", {{"c", QStringLiteral("C%1").arg(c, 6, 10, QLatin1Char('0'))},
                                                                  {"n", QStringLiteral("Cliente %1").arg(c)},
                                                                  {"c2", c}});
        db().exec("INSERT INTO TMPDOC VALUES (1)");
        for (int l = 1; l <= kLineas; ++l)
            db().exec("INSERT INTO TMPLIN VALUES (1, :l, 0, :c)", {{"l", l}, {"c", Codigo(l)}});
        db().commit();
    }
};

Datos &datos()
{
    static Datos d;
    return d;
}

// One run of layout `codigo` over the 2,000 lines, shown as screen pages.
void ImprimirLineas(const char *codigo)
{
    Datos &d = datos();
    CodigoImpresoPeticion = codigo;
    VistaPreviaImpreso = true;
    SalidaMensajesGrabada mensajes;
    mensajes.programarRespuestas({"SI"});
    SalidaMensajesInstalada instalada(mensajes);
    qint64 paginas = 0;
    ServiciosImpresion servicios;
    servicios.vistaPrevia = [&paginas](TfGENELIMP &m) { paginas = m.paginas().cuenta(); };
    ServiciosImpresionInstalados instalados(servicios);
    TfGENELIMP motor;
    motor.Impreso->table().setConnection(&d.db());
    motor.Impreso->table().open();
    motor.afterConstruction();
    plat::TableDataSet &t = motor.Temporal->table();
    t.setConnection(&d.db());
    t.setTableName("TMPDOC");
    t.open();
    plat::TableDataSet &l = motor.LTemporal->table();
    l.setConnection(&d.db());
    l.setTableName("TMPLIN");
    l.setIndexFieldNames("CodigoTemporal;Linea;LineaMemo");
    l.open();
    l.setMasterSource(&t, "CodigoTemporal");
    motor.Imprimir();
    benchmark::DoNotOptimize(paginas);
}

void BM_LineasConReferencia(benchmark::State &state)
{
    for (auto _ : state)
        ImprimirLineas("B");
}

// Look-ups per second through BuscarValorTablaCampo, one per line (drawing included).
void BM_BuscarValorTablaCampo(benchmark::State &state)
{
    for (auto _ : state)
        ImprimirLineas("E");
    state.SetItemsProcessed(state.iterations() * kLineas);
}

BENCHMARK(BM_LineasConReferencia)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_BuscarValorTablaCampo)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

GP_BENCHMARK_MAIN(Ventanas)
