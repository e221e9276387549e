// The print engine's preview showing a full A4 page (30 lines of texts, lines and boxes) with
// the ruler at 300 %, against Qt alone replaying the same page picture at the same size into
// an image of its own.
#include "ArranqueBenchmarks.h"
#include "GENEW/reporting/impresos/AlmacenPaginas.h"
#include "GENEW/reporting/impresos/GENELIMP.h"
#include "GENEW/reporting/impresos/ServiciosImpresion.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"
#include "platform/ui/SpinEdit.h"
#include "platform/ui/data/DataSetComponents.h"

#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

const char *const kImpreso = "[SISTEMA]\r\nAlturaLinea=8\r\nInicioLineas=40\r\nFinLineas=280\r\n"
                             "[CABECERA]\r\nFont=Arial;20;;Negrita\r\nText=20;15;0;Presupuesto de obra\r\n"
                             "Font=Arial;10;;\r\n"
                             "[LINEAS]\r\nText=10;0;0;Partida de obra con su descripción\r\nText=80;0;40;1.250,00;D\r\n"
                             "Text=130;0;0;Unidad\r\nLine=10;6;190;6\r\nRect=5;0;8;5\r\n";

plat::IndexDef Indice(const QStringList &campos)
{
    plat::IndexDef i;
    i.name = "Clave1";
    i.fields = campos;
    i.primary = i.unique = true;
    return i;
}

// One screen request of one full page; pasos runs while the preview has it.
void Previsualizar(const std::function<void(TfGENELIMP &)> &pasos)
{
    QTemporaryDir carpeta;
    plat::Session sesion;
    plat::Connection &db = sesion.connection("Database");
    db.setDatabaseName(carpeta.path());
    plat::TableDef impreso;
    impreso.name = "IMPRESO";
    impreso.fields = {plat::fieldDef("Codigo", ftString, 20, true), plat::fieldDef("Descripcion", ftString, 40),
                      plat::fieldDef("TipoDocumento", ftString, 20), plat::fieldDef("Modo", ftString, 10),
                      plat::fieldDef("Instrucciones", ftMemo), plat::fieldDef("Formato", ftString, 30),
                      plat::fieldDef("ImpresoraPorDefecto", ftString, 100)};
    impreso.indexes = {Indice({"Codigo"})};
    db.createTable(impreso);
    db.exec("INSERT INTO IMPRESO VALUES ('B', 'B', 'Otro', 'Grafico', :i, 'A4', 'Predeterminada')",
            {{"i", QString::fromUtf8(kImpreso)}});
    plat::TableDef docs;
    docs.name = "TMPDOC";
    docs.fields = {plat::fieldDef("CodigoTemporal", ftInteger, 0, true)};
    docs.indexes = {Indice({"CodigoTemporal"})};
    db.createTable(docs);
    plat::TableDef lineas;
    lineas.name = "TMPLIN";
    lineas.fields = {plat::fieldDef("CodigoTemporal", ftInteger, 0, true), plat::fieldDef("Linea", ftSmallint, 0, true),
                     plat::fieldDef("LineaMemo", ftSmallint, 0, true)};
    lineas.indexes = {Indice({"CodigoTemporal", "Linea", "LineaMemo"})};
    db.createTable(lineas);
    db.exec("INSERT INTO TMPDOC VALUES (1)");
    for (int l = 1; l <= 30; ++l)
        db.exec("INSERT INTO TMPLIN VALUES (1, :l, 0)", {{"l", l}});

    CodigoImpresoPeticion = "B";
    VistaPreviaImpreso = true;
    ServiciosImpresion servicios;
    servicios.vistaPrevia = [&pasos](TfGENELIMP &m) {
        // The screen size the preview fits its first page to; the ruler is drawn with the run.
        m.PonerTamanoPantalla(QSize(1024, 768));
        pasos(m);
    };
    ServiciosImpresionInstalados instalados(servicios);
    TfGENELIMP motor;
    motor.Impreso->table().setConnection(&db);
    motor.Impreso->table().open();
    motor.afterConstruction();
    plat::TableDataSet &t = motor.Temporal->table();
    t.setConnection(&db);
    t.setTableName("TMPDOC");
    t.open();
    plat::TableDataSet &l = motor.LTemporal->table();
    l.setConnection(&db);
    l.setTableName("TMPLIN");
    l.setIndexFieldNames("CodigoTemporal;Linea;LineaMemo");
    l.open();
    l.setMasterSource(&t, "CodigoTemporal");
    motor.Imprimir();
}

void BM_MostrarPagina300ConRegla(benchmark::State &state)
{
    Previsualizar([&state](TfGENELIMP &m) {
        if (m.bitmapTrabajo().isNull())
            state.SkipWithError("no ruler");
        m.SpinEditZoom->setValue(300);
        for (auto _ : state)
            m.MostrarPagina(1);
    });
}

void BM_AnclajeQPainterSobreQImage(benchmark::State &state)
{
    Previsualizar([&state](TfGENELIMP &m) {
        const plat::Drawing pagina = m.paginas().pagina(1);
        const QSize tamano = m.paginas().tamano(1) * 3;
        for (auto _ : state) {
            QImage imagen(tamano, QImage::Format_RGB32);
            imagen.fill(Qt::white);
            QPainter pintor(&imagen);
            pintor.scale(3, 3);
            DibujarPagina(pintor, pagina);
            pintor.end();
            benchmark::DoNotOptimize(imagen.constBits());
        }
    });
}

BENCHMARK(BM_MostrarPagina300ConRegla)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_AnclajeQPainterSobreQImage)->Unit(benchmark::kMillisecond)->MinTime(2);

} // namespace

GP_BENCHMARK_MAIN(Ventanas)
