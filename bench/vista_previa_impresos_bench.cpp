// The print engine's preview showing a full A4 page (30 lines of texts, lines and boxes) with
// the ruler at 300 %, against plain QPainter drawing the same marks and ruler at the same size.
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
#include <QPixmap>
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

// Plain QPainter doing the preview's work on the same page size: the ruler made once (lines
// every 10 mm and their numbers), then at each showing the heading and the 30 lines of three
// texts, a line and a box drawn at 300 %, the ruler stretched over them with AND, and the image
// made a pixmap.
void BM_AnclajeQPainterMarcasYRegla(benchmark::State &state)
{
    Previsualizar([&state](TfGENELIMP &m) {
        const QSize pagina = m.paginas().tamano(1);
        const double mm = pagina.width() / 210.0;
        const double dpi = pagina.width() / (210.0 / 25.4);
        const auto fuente = [dpi](int puntos, bool negrita) {
            QFont f(QStringLiteral("Arial"));
            f.setPixelSize(qRound(puntos * dpi / 72.0));
            f.setBold(negrita);
            return f;
        };
        QImage regla(pagina, QImage::Format_RGB32);
        regla.fill(Qt::white);
        {
            QPainter p(&regla);
            p.setFont(fuente(6, false));
            for (int x = 0; x <= 210; x += 10) {
                p.setPen(QColor(0xC0, 0xC0, 0xC0));
                p.drawLine(qRound(x * mm), 0, qRound(x * mm), pagina.height());
                p.setPen(QColor(0x80, 0x80, 0x80));
                p.drawText(QRect(qRound(x * mm) + 1, 0, 200, 100), Qt::AlignLeft | Qt::AlignTop, QString::number(x));
            }
            for (int y = 0; y <= 297; y += 10) {
                p.setPen(QColor(0xC0, 0xC0, 0xC0));
                p.drawLine(0, qRound(y * mm), pagina.width(), qRound(y * mm));
                p.setPen(QColor(0x80, 0x80, 0x80));
                p.drawText(QRect(0, qRound(y * mm) + 1, 200, 100), Qt::AlignLeft | Qt::AlignTop, QString::number(y));
            }
        }
        const QFont cabecera = fuente(20, true), lineas = fuente(10, false);
        const QString concepto = QStringLiteral("Partida de obra con su descripción");
        const QString importe = QStringLiteral("1.250,00"), unidad = QStringLiteral("Unidad");
        const QSize tamano = pagina * 3;
        for (auto _ : state) {
            QImage imagen(tamano, QImage::Format_RGB32);
            imagen.fill(Qt::white);
            QPainter pintor(&imagen);
            pintor.scale(3, 3);
            pintor.setFont(cabecera);
            pintor.drawText(QPointF(20 * mm, 15 * mm + pintor.fontMetrics().ascent()), QStringLiteral("Presupuesto de obra"));
            pintor.setFont(lineas);
            const int ascenso = pintor.fontMetrics().ascent();
            for (int l = 0; l < 30; ++l) {
                const double y = (40 + 8 * l) * mm;
                pintor.drawText(QPointF(10 * mm, y + ascenso), concepto);
                pintor.drawText(QRectF(80 * mm, y, 40 * mm, 8 * mm), Qt::AlignRight | Qt::AlignTop, importe);
                pintor.drawText(QPointF(130 * mm, y + ascenso), unidad);
                pintor.drawLine(QPointF(10 * mm, y + 6 * mm), QPointF(190 * mm, y + 6 * mm));
                pintor.drawRect(QRectF(5 * mm, y, 3 * mm, 5 * mm));
            }
            pintor.resetTransform();
            pintor.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
            pintor.drawImage(QRect(QPoint(0, 0), tamano), regla);
            pintor.end();
            const QPixmap mostrada = QPixmap::fromImage(std::move(imagen));
            benchmark::DoNotOptimize(mostrada.cacheKey());
        }
    });
}

BENCHMARK(BM_MostrarPagina300ConRegla)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_AnclajeQPainterMarcasYRegla)->Unit(benchmark::kMillisecond)->MinTime(2);

} // namespace

GP_BENCHMARK_MAIN(Ventanas)
