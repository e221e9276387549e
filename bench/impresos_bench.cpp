// The print engine over 1,000 documents of 30 lines, six drawing commands a line: to screen
// pages and to PDF, against raw anchors in the same run: the documents' line rows stepped with
// the sqlite3 C API and, for each, the same texts, line and rectangle at the same pixels drawn
// with a plain QPainter on the same device (the store's page drawings; a QPdfWriter at 150
// dpi). Times are wall time: the PDF's writing waits for the disk.
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
#include <sqlite3.h>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <optional>
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

// The anchor's drawing of one line at pixel row y, as the layout's six commands draw it.
void DibujarLineaAnclaje(QPainter &pintor, double pxmm, int y)
{
    const QFontMetrics medidas = pintor.fontMetrics();
    const int base = y + medidas.ascent();
    pintor.drawText(int(10 * pxmm), base, QStringLiteral("Partida de obra"));
    pintor.save();
    pintor.setClipRect(QRect(int(80 * pxmm), y, int(40 * pxmm), 16));
    pintor.drawText(int(80 * pxmm), base, QStringLiteral("        1.250,00"));
    pintor.restore();
    pintor.drawText(int(130 * pxmm), base, QStringLiteral("Unidad"));
    pintor.drawLine(int(10 * pxmm), y + int(6 * pxmm), int(190 * pxmm), y + int(6 * pxmm));
    pintor.drawRect(QRect(QPoint(int(5 * pxmm), y), QPoint(int(8 * pxmm) - 1, y + int(5 * pxmm) - 1)));
    pintor.drawText(int(180 * pxmm), base, QStringLiteral("1"));
}

// Steps the line rows of every document in order with sqlite3 and draws each on the page its
// document starts (`nuevaPagina` gives the painter of document d's page); the rows read.
template<typename NuevaPagina>
int DibujarAnclaje(QSize tamano, int resolucion, NuevaPagina nuevaPagina)
{
    const double pxmm = tamano.width() / 210.0;
    const QFont fuente = FuenteEnPixeles(QFont("Arial", 10), resolucion);
    sqlite3 *db = nullptr;
    const QByteArray fichero = QFile::encodeName(datos().db().location().sqliteFile());
    if (sqlite3_open_v2(fichero.constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return -1;
    }
    sqlite3_stmt *s = nullptr;
    sqlite3_prepare_v2(db, "SELECT CodigoTemporal, Linea FROM TMPLIN ORDER BY CodigoTemporal, Linea, LineaMemo", -1, &s,
                       nullptr);
    int filas = 0;
    int documento = 0;
    QPainter *pintor = nullptr;
    while (sqlite3_step(s) == SQLITE_ROW) {
        const int d = sqlite3_column_int(s, 0);
        const int l = sqlite3_column_int(s, 1) - 1;
        if (d != documento) {
            documento = d;
            pintor = &nuevaPagina(d);
            pintor->setFont(fuente);
            pintor->setBrush(Qt::NoBrush);
        }
        DibujarLineaAnclaje(*pintor, pxmm, int((40 + l * 8) * pxmm));
        ++filas;
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    return filas;
}

void BM_MotorAPantalla(benchmark::State &state)
{
    datos();
    for (auto _ : state)
        benchmark::DoNotOptimize(Ejecutar({}));
    state.counters["paginas/s"] = benchmark::Counter(double(kDocumentos) * state.iterations(), benchmark::Counter::kIsRate);
}

void BM_AnclajePaginasPantalla(benchmark::State &state)
{
    datos();
    const QSize tamano(800, 1131);
    for (auto _ : state) {
        AlmacenPaginas paginas;
        std::optional<QPainter> pintor;
        const int filas = DibujarAnclaje(tamano, 96, [&](int d) -> QPainter & {
            pintor.reset();
            pintor.emplace(&paginas.nueva(tamano, QString::number(d) + ";"));
            return *pintor;
        });
        pintor.reset();
        benchmark::DoNotOptimize(filas);
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
        QPdfWriter escritor(fichero);
        escritor.setResolution(150);
        escritor.setPageSize(QPageSize(QPageSize::A4));
        escritor.setPageMargins(QMarginsF());
        QPainter pintor(&escritor);
        const int filas = DibujarAnclaje(QSize(1240, 1754), 150, [&](int d) -> QPainter & {
            if (d > 1)
                escritor.newPage();
            return pintor;
        });
        benchmark::DoNotOptimize(filas);
    }
    state.counters["paginas/s"] = benchmark::Counter(double(kDocumentos) * state.iterations(), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_MotorAPantalla)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_AnclajePaginasPantalla)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_MotorAPDF)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
BENCHMARK(BM_AnclajeQPdfWriter)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

} // namespace

GP_BENCHMARK_MAIN(Ventanas)
