#include "tests/reporting/informes/InformePrueba.h"

#include "GENEW/reporting/informes/VistaPreviaInforme.h"

#include <QApplication>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

using namespace gptest;

namespace {

// The preview event as the listing preview window does it: a preview control on the
// report's printer object, shown, closed once the run has ended (or when told to).
class Previsualizacion
{
public:
    explicit Previsualizacion(Informe &informe) : informe_(informe)
    {
        informe.OnPreview = [this](QObject *) {
            vista = new VistaPreviaInforme();
            vista->setAttribute(Qt::WA_DeleteOnClose);
            vista->setQRPrinter(informe_.impresora());
            vista->OnPageAvailable = [this](QObject *, int n) {
                paginasAnunciadas << n;
                if (alAnunciar)
                    alAnunciar(n);
            };
            vista->OnProgressUpdate = [this](QObject *, int p) { progresos << p; };
            vista->resize(600, 800);
            vista->show();
        };
        informe.AfterPrint = [this](QObject *) {
            ++finales;
            if (cerrarAlTerminar && vista)
                QTimer::singleShot(0, vista.data(), &QWidget::close);
        };
    }

    QPointer<VistaPreviaInforme> vista;
    std::function<void(int)> alAnunciar;
    QList<int> paginasAnunciadas;
    QList<int> progresos;
    int finales = 0;
    bool cerrarAlTerminar = true;

private:
    Informe &informe_;
};

} // namespace

TEST(VistaPrevia, MuestraLasPaginasMientrasSeGeneranEnRodajas)
{
    VentanaInforme ventana;
    auto datos = datosPrueba(600);
    ventana.ponerDatos(datos.get());
    // Slow records, so that the run takes several slices.
    ventana.detalle->BeforePrint = [](QObject *, bool &) { QThread::usleep(300); };
    Previsualizacion previa(*ventana.informe);
    int vueltasDelBucle = 0;
    QTimer contador;
    QObject::connect(&contador, &QTimer::timeout, [&] {
        if (previa.finales == 0)
            ++vueltasDelBucle;
    });
    contador.start(0);
    ventana.informe->Preview();
    EXPECT_EQ(previa.finales, 1);
    EXPECT_GT(vueltasDelBucle, 1);
    const int paginas = ventana.informe->pageCount();
    ASSERT_GT(paginas, 5);
    QList<int> todas;
    for (int n = 1; n <= paginas; ++n)
        todas << n;
    EXPECT_EQ(previa.paginasAnunciadas, todas);
    ASSERT_GT(previa.progresos.size(), 1);
    EXPECT_TRUE(std::is_sorted(previa.progresos.begin(), previa.progresos.end()));
    EXPECT_LT(previa.progresos.first(), 100);
    EXPECT_EQ(previa.progresos.last(), 100);
    EXPECT_FALSE(datos->controlsDisabled());
    EXPECT_TRUE(previa.vista.isNull());
}

TEST(VistaPrevia, AbortarODatosCerradosOLiberadosTerminanTrasLaPaginaEnCurso)
{
    enum class Caso { Abortar, Cerrar, Liberar };
    for (Caso caso : {Caso::Abortar, Caso::Cerrar, Caso::Liberar}) {
        VentanaInforme ventana;
        auto datos = datosPrueba(2000);
        ventana.ponerDatos(datos.get());
        Previsualizacion previa(*ventana.informe);
        previa.alAnunciar = [&](int n) {
            if (n != 1)
                return;
            switch (caso) {
            case Caso::Abortar: ventana.informe->impresora()->AbortDoc(); break;
            case Caso::Cerrar: datos->close(); break;
            case Caso::Liberar: datos.reset(); break;
            }
        };
        ventana.informe->Preview();
        EXPECT_EQ(ventana.informe->pageCount(), 1) << int(caso);
        EXPECT_EQ(previa.finales, 1);
        EXPECT_FALSE(ventana.informe->impresora()->busy());
        if (datos) {
            EXPECT_FALSE(datos->controlsDisabled());
        }
    }
}

TEST(VistaPrevia, ElRecorridoSigueEnSuRegistroAunqueOtroMuevaLosDatos)
{
    VentanaInforme ventana;
    auto datos = datosPrueba(200);
    ventana.ponerDatos(datos.get());
    Previsualizacion previa(*ventana.informe);
    previa.alAnunciar = [&](int) { datos->last(); };
    QTimer moverEntreRodajas;
    QObject::connect(&moverEntreRodajas, &QTimer::timeout, [&] { datos->first(); });
    moverEntreRodajas.start(0);
    ventana.detalle->BeforePrint = [](QObject *, bool &) { QThread::usleep(200); };
    ventana.informe->Preview();
    const QStringList filas = textosDe(*ventana.informe->impresora(), "BandaDetalle");
    ASSERT_EQ(filas.size(), 200);
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(filas[i], QString("Registro %1|%1,00").arg(i + 1));
}

TEST(VistaPrevia, VentanaCerradaDuranteLaLlamadaSeLiberaAlVolver)
{
    QPointer<VentanaInforme> ventana = new VentanaInforme();
    auto datos = datosPrueba(300);
    ventana->ponerDatos(datos.get());
    Previsualizacion previa(*ventana->informe);
    previa.cerrarAlTerminar = false;
    previa.alAnunciar = [&](int n) {
        if (n == 1)
            ventana->Release();
    };
    QTimer::singleShot(100, [&] {
        if (previa.vista)
            previa.vista->close();
    });
    ventana->informe->Preview();
    ASSERT_FALSE(ventana.isNull());
    EXPECT_EQ(previa.finales, 1);
    EXPECT_GE(ventana->informe->pageCount(), 5);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(ventana.isNull());
}

TEST(VistaPrevia, PaginaYZoom)
{
    VentanaInforme ventana;
    auto datos = datosPrueba(200);
    ventana.ponerDatos(datos.get());
    ventana.informe->Prepare();
    VistaPreviaInforme vista;
    vista.resize(500, 700);
    QList<int> anunciadas, progresos;
    vista.OnPageAvailable = [&](QObject *, int n) { anunciadas << n; };
    vista.OnProgressUpdate = [&](QObject *, int p) { progresos << p; };
    vista.setQRPrinter(ventana.informe->impresora());
    EXPECT_EQ(ventana.informe->impresora()->vistas(), 1);
    // A finished run is told as it was: every page, then all the way.
    EXPECT_EQ(anunciadas.size(), ventana.informe->pageCount());
    EXPECT_EQ(progresos, QList<int>{100});
    vista.setZoom(50);
    EXPECT_EQ(vista.widget()->width(), qRound(ventana.informe->pageSize().width() * vista.logicalDpiX() / 96.0 / 2));
    vista.ZoomToWidth();
    EXPECT_LE(vista.widget()->width(), vista.viewport()->width());
    EXPECT_GT(vista.widget()->width(), vista.viewport()->width() - 40);
    vista.ZoomToFit();
    EXPECT_LE(vista.widget()->height(), vista.viewport()->height());
    vista.setPageNumber(3);
    const QImage imagen = vista.widget()->grab().toImage();
    if (qEnvironmentVariableIsSet("GP_GUARDAR_IMAGENES"))
        imagen.save(qEnvironmentVariable("GP_GUARDAR_IMAGENES") + "/vista_previa.png");
    int oscuros = 0;
    for (int y = 0; y < imagen.height(); ++y)
        for (int x = 0; x < imagen.width(); ++x)
            oscuros += qGray(imagen.pixel(x, y)) < 100;
    EXPECT_GT(oscuros, 100);
}
