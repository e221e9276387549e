// The print engine over 1,000 documents of 30 lines, six drawing commands a line: to screen
// pages and to PDF, against the same texts, lines and rectangles drawn straight with
// plat::Canvas on QPictures (and those pictures written with QPdfWriter).
#include "ArranqueBenchmarks.h"
#include "GENEW/reporting/impresos/AlmacenPaginas.h"
#include "GENEW/reporting/impresos/DestinoDibujo.h"
#include "GENEW/reporting/impresos/GENELIMP.h"
#include "GENEW/reporting/impresos/ServiciosImpresion.h"
#include "platform/base/SalidaMensajes.h"
#include "platform/data/Field.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/data/DataSetComponents.h"

#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kDocumentos = 1000;
constexpr int kLineas = 30;

const char *const kImpreso = "[SISTEMA]\r\nAlturaLinea=8\r\nInicioLineas=40\r\nFinLineas=280\r\n"
                             "[LINEAS]\r\nText=10;0;0;Partida de obra\r\nText=80;0;40;1.250,00;D\r\n"
                             "Text=130;0;0;Unidad\r\nLine=10;6;190;6\r\nRect=5;0;8;5\r\n"
                             "Vari=180;0;0;NumeroPagina\r\n";

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
        impreso.indexes = {indice({"Codigo"})};
        db().createTable(impreso);
        db().exec("INSERT INTO IMPRESO VALUES ('B', 'B', 'Otro', 'Grafico', :i, 'A4', 'Predeterminada')",
                  {{"i", QString::fromUtf8(kImpreso)}});
        plat::TableDef docs;
        docs.name = "TMPDOC";
        docs.fields = {plat::fieldDef("CodigoTemporal", ftInteger, 0, true)};
        docs.indexes = {indice({"CodigoTemporal"})};
        db().createTable(docs);
        plat::TableDef lineas;
        lineas.name = "TMPLIN";
        lineas.fields = {plat::fieldDef("CodigoTemporal", ftInteger, 0, true), plat::fieldDef("Linea", ftSmallint, 0, true),
                         plat::fieldDef("LineaMemo", ftSmallint, 0, true)};
        lineas.indexes = {indice({"CodigoTemporal", "Linea", "LineaMemo"})};
        db().createTable(lineas);
        db().startTransaction();
        for (int d = 1; d <= kDocumentos; ++d) {
            db().exec("INSERT INTO TMPDOC VALUES (:d)", {{"d", d}});
            for (int l = 1; l <= kLineas; ++l)
                db().exec("INSERT INTO TMPLIN VALUES (:d, :l, 0)", {{"d", d}, {"l", l}});
        }
        db().commit();
    }
    static plat::IndexDef indice(const QStringList &campos)
    {
        plat::IndexDef i;
        i.name = "Clave1";
        i.fields = campos;
        i.primary = i.unique = true;
        return i;
    }
};

Datos &datos()
{
    static Datos d;
    return d;
}

// One request as a caller makes it; answers the pages made.
qint64 Ejecutar(const QString &salida)
{
    Datos &d = datos();
    CodigoImpresoPeticion = "B";
    VistaPreviaImpreso = salida.isEmpty();
    qint64 paginas = 0;
    SalidaMensajesGrabada mensajes;
    mensajes.programarRespuestas({"SI"});   // go on past 25 pages
    SalidaMensajesInstalada instalada(mensajes);
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
    motor.SalidaImpresion = salida;
    motor.Imprimir();
    return salida.isEmpty() ? paginas : motor.contadorPaginas();
}

// The anchor: the same primitives at the same pixels, straight on pictures.
void DibujarAnclaje(AlmacenPaginas &paginas, QSize tamano, int resolucion)
{
    const double pxmm = tamano.width() / 210.0;
    for (int d = 1; d <= kDocumentos; ++d) {
        QPicture &pagina = paginas.nueva(tamano, QString::number(d) + ";");
        plat::Canvas lienzo(&pagina);
        lienzo.font().Font = FuenteEnPixeles(QFont("Arial", 10), resolucion);
        lienzo.brush().Style = plat::bsClear;
        for (int l = 0; l < kLineas; ++l) {
            const int y = int((40 + l * 8) * pxmm);
            lienzo.TextOut(int(10 * pxmm), y, "Partida de obra");
            lienzo.TextRect(QRect(int(80 * pxmm), y, int(40 * pxmm), 16), int(80 * pxmm), y, "        1.250,00");
            lienzo.TextOut(int(130 * pxmm), y, "Unidad");
            lienzo.MoveTo(int(10 * pxmm), y + int(6 * pxmm));
            lienzo.LineTo(int(190 * pxmm), y + int(6 * pxmm));
            lienzo.Rectangle(int(5 * pxmm), y, int(8 * pxmm), y + int(5 * pxmm));
            lienzo.TextOut(int(180 * pxmm), y, "1");
        }
    }
}

void BM_MotorAPantalla(benchmark::State &state)
{
    datos();
    for (auto _ : state)
        benchmark::DoNotOptimize(Ejecutar({}));
    state.counters["paginas/s"] = benchmark::Counter(double(kDocumentos) * state.iterations(), benchmark::Counter::kIsRate);
}

void BM_AnclajeQPicture(benchmark::State &state)
{
    for (auto _ : state) {
        AlmacenPaginas paginas;
        DibujarAnclaje(paginas, QSize(800, 1131), 96);
        benchmark::DoNotOptimize(paginas.cuenta());
    }
    state.counters["paginas/s"] = benchmark::Counter(double(kDocumentos) * state.iterations(), benchmark::Counter::kIsRate);
}

void BM_MotorAPDF(benchmark::State &state)
{
    datos();
    const QString fichero = datos().carpeta.filePath("salida.pdf");
    for (auto _ : state)
        benchmark::DoNotOptimize(Ejecutar("PDF:" + fichero));
    state.counters["paginas/s"] = benchmark::Counter(double(kDocumentos) * state.iterations(), benchmark::Counter::kIsRate);
}

void BM_AnclajeQPdfWriter(benchmark::State &state)
{
    const QString fichero = datos().carpeta.filePath("anclaje.pdf");
    for (auto _ : state) {
        AlmacenPaginas paginas;
        DibujarAnclaje(paginas, QSize(1240, 1754), 150);
        QPdfWriter escritor(fichero);
        escritor.setResolution(150);
        escritor.setPageSize(QPageSize(QPageSize::A4));
        escritor.setPageMargins(QMarginsF());
        QPainter pintor(&escritor);
        for (int n = 1; n <= paginas.cuenta(); ++n) {
            if (n > 1)
                escritor.newPage();
            DibujarPagina(pintor, paginas.pagina(n));
        }
    }
    state.counters["paginas/s"] = benchmark::Counter(double(kDocumentos) * state.iterations(), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_MotorAPantalla)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AnclajeQPicture)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MotorAPDF)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_AnclajeQPdfWriter)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

GP_BENCHMARK_MAIN(Ventanas)
