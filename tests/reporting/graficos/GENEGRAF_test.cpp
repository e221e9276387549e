#include "GENEW/reporting/graficos/ConstructorGrafico.h"
#include "GENEW/reporting/graficos/GENEGRAF.h"
#include "GENEW/reporting/graficos/GeometriaProfundidad.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "tests/data/ModuloFixture.h"
#include "tests/reporting/graficos/VentanaGrafico.h"

#include <QAbstractBarSeries>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QLegend>
#include <QLegendMarker>
#include <QPieSeries>
#include <QPieSlice>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QXYSeries>
#include <gtest/gtest.h>

namespace {

TEST(GENEGRAF, TituloMedidasBotonesYPaneles)
{
    VentanaGrafico v(QStringLiteral("Titulo=Ventas;Medidas=420x310;Leyenda=SI;PanelControl=NO;StatusBar=NO"),
                     QStringLiteral("Titulo=A;Tipo=Lineas;IncluirEnLeyenda=SI;Valores=1:5:x:/2:7:y:\r\n"
                                    "Titulo=B;Tipo=Lineas;Valores=1:3:x:"));
    EXPECT_EQ(v.f->caption(), QStringLiteral("Ventas"));
    EXPECT_EQ(v.f->LabelTitulo->text(), QStringLiteral("Ventas"));
    EXPECT_EQ(v.f->width(), 420);
    EXPECT_EQ(v.f->height(), 310);
    EXPECT_FALSE(v.f->PanelControl->isVisible());
    EXPECT_FALSE(v.f->PanelStatusBar->isVisible());
    EXPECT_EQ(v.f->findChild<QObject *>(QStringLiteral("Chart1")), v.f->Chart1);

    // The legend button, pressed by "Leyenda=SI", lists only the series that asked for it.
    EXPECT_TRUE(v.f->pbLeyenda->isChecked());
    EXPECT_TRUE(v.chart().legend()->isVisible());
    EXPECT_EQ(v.marcasVisibles(), 1);
    v.f->pbLeyenda->click();
    EXPECT_FALSE(v.chart().legend()->isVisible());

    // Marks follow their button.
    auto *linea = qobject_cast<QXYSeries *>(v.chart().series().at(0));
    ASSERT_NE(linea, nullptr);
    EXPECT_FALSE(linea->pointLabelsVisible());
    v.f->pbMarcas->click();
    EXPECT_TRUE(linea->pointLabelsVisible());
    v.f->pbMarcas->click();
    EXPECT_FALSE(linea->pointLabelsVisible());
}

TEST(GENEGRAF, BarrasHorizontalesLlevanLasCategoriasEnElEjeVertical)
{
    for (const char *tipo : {"Barras", "BarrasH"}) {
        VentanaGrafico v(QString(), QStringLiteral("Tipo=%1;Color=Verde;Valores=1:5:Ana:/2:7:Luis:/3:1:Ana:").arg(QLatin1String(tipo)));
        auto *barras = qobject_cast<QAbstractBarSeries *>(v.chart().series().at(0));
        ASSERT_NE(barras, nullptr);
        QBarCategoryAxis *categorias = nullptr;
        for (QAbstractAxis *eje : barras->attachedAxes())
            if (auto *c = qobject_cast<QBarCategoryAxis *>(eje))
                categorias = c;
        ASSERT_NE(categorias, nullptr);
        const bool horizontales = QLatin1String(tipo) == QLatin1String("BarrasH");
        EXPECT_EQ(categorias->orientation(), horizontales ? Qt::Vertical : Qt::Horizontal) << tipo;
        ASSERT_EQ(categorias->count(), 3);
        EXPECT_EQ(categorias->at(1), QStringLiteral("Luis"));
        EXPECT_TRUE(categorias->at(2).startsWith(QStringLiteral("Ana")));   // repeated text, its own category
        EXPECT_EQ(barras->barSets().at(0)->color(), QColor(0, 128, 0));
    }
}

// An empty value, as the SQL console writes an empty rate, keeps its place: every later value
// stays above its own label, and the empty one draws nothing (no bar, point or slice).
TEST(GENEGRAF, UnValorVacioConservaSuSitioYNoDibujaNada)
{
    const QString puntos = QStringLiteral("Valores=1:25:Ana:/2::Luis:/3:40:Marta:/");
    VentanaGrafico barras(QString(), QStringLiteral("Titulo=Diez;Tipo=Barras;Color=Rojo;Valores=1:10:Ana:/2:20:Luis:/3:30:Marta:/\r\n"
                                                    "Titulo=Tarifa;Tipo=Barras;Color=Verde;") + puntos);
    auto *serie = qobject_cast<QAbstractBarSeries *>(barras.chart().series().at(0));
    ASSERT_NE(serie, nullptr);
    auto *categorias = qobject_cast<QBarCategoryAxis *>(serie->attachedAxes().at(0));
    ASSERT_NE(categorias, nullptr);
    EXPECT_EQ(categorias->categories(), QStringList({QStringLiteral("Ana"), QStringLiteral("Luis"), QStringLiteral("Marta")}));
    const QBarSet *tarifa = serie->barSets().at(1);
    ASSERT_EQ(tarifa->count(), 3);
    EXPECT_EQ(tarifa->at(1), 0);
    EXPECT_EQ(tarifa->at(2), 40);

    VentanaGrafico lineas(QString(), QStringLiteral("Tipo=Lineas;") + puntos);
    auto *linea = qobject_cast<QXYSeries *>(lineas.chart().series().at(0));
    ASSERT_NE(linea, nullptr);
    EXPECT_EQ(linea->points(), QList<QPointF>({QPointF(1, 25), QPointF(3, 40)}));

    VentanaGrafico tarta(QString(), QStringLiteral("Tipo=Tarta;") + puntos);
    auto *porciones = qobject_cast<QPieSeries *>(tarta.chart().series().at(0));
    ASSERT_NE(porciones, nullptr);
    ASSERT_EQ(porciones->count(), 2);
    EXPECT_EQ(porciones->slices().at(1)->label(), QStringLiteral("Marta 61,54% de 65"));
}

TEST(GENEGRAF, TartaConMarcasDePorcentajeYTotalYSinPorcionesEnLaLeyenda)
{
    VentanaGrafico v(QStringLiteral("Leyenda=SI;Marcas=SI"),
                     QStringLiteral("Titulo=Clientes;Tipo=Tarta;IncluirEnLeyenda=SI;Valores=1:100:Madrid:/2:300:Otros:"));
    auto *tarta = qobject_cast<QPieSeries *>(v.chart().series().at(0));
    ASSERT_NE(tarta, nullptr);
    ASSERT_EQ(tarta->count(), 2);
    EXPECT_EQ(tarta->slices().at(0)->label(), QStringLiteral("Madrid 25% de 400"));
    EXPECT_TRUE(tarta->slices().at(0)->isLabelVisible());
    EXPECT_EQ(tarta->slices().at(0)->color(), plat::toQColor(TextoAColor(QStringLiteral("Rojo"))));
    EXPECT_EQ(tarta->slices().at(1)->color(), plat::toQColor(TextoAColor(QStringLiteral("Azul"))));
    EXPECT_EQ(v.marcasVisibles(), 1);
    EXPECT_EQ(constructorgrafico::marcaTarta(QStringLiteral("A"), 1, 3), QStringLiteral("A 33,33% de 3"));
}

TEST(GENEGRAF, ColoresPorPuntoEnLineasYBarras)
{
    VentanaGrafico v(QString(), QStringLiteral("Tipo=Lineas;Valores=1:5:a:Rojo/2:6:b:Verde\r\n"
                                               "Tipo=Barras;Valores=1:5:a:/2:6:b:"));
    auto *linea = qobject_cast<QXYSeries *>(v.chart().series().at(0));
    ASSERT_NE(linea, nullptr);
    EXPECT_EQ(linea->pointConfiguration(1).value(QXYSeries::PointConfiguration::Color).value<QColor>(),
              QColor(0, 128, 0));
    auto *barras = qobject_cast<QAbstractBarSeries *>(v.chart().series().at(1));
    ASSERT_NE(barras, nullptr);
    ASSERT_EQ(barras->barSets().size(), 2);   // one set per coloured bar
    EXPECT_EQ(barras->barSets().at(0)->color(), plat::toQColor(TextoAColor(QStringLiteral("Rojo"))));
    EXPECT_EQ(barras->barSets().at(1)->color(), plat::toQColor(TextoAColor(QStringLiteral("Azul"))));
}

TEST(GENEGRAF, LasTeclasVanALaRutinaComun)
{
    QString vistas;
    TfGENEGRAF::Rutinas().ProcesarTeclaPulsada = [&](QObject *, QChar &k) { vistas += k; };
    VentanaGrafico v{QString(), QString()};
    QChar tecla(u'x');
    v.f->OnKeyPress(v.f, tecla);
    TfGENEGRAF::Rutinas().ProcesarTeclaPulsada = nullptr;
    EXPECT_EQ(vistas, QStringLiteral("x"));
}

class ImpresionGrafico : public ModuloFixture
{
};

TEST_F(ImpresionGrafico, ElDialogoConfirmadoImprimeTituloYEtiquetasEnLaPagina)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    ASSERT_TRUE(prepararMotor(false));
    const QString pdf = dir_.file(QStringLiteral("grafico.pdf"));
    QPrinter &impresora = plat::sharedPrinter();
    impresora.setOutputFormat(QPrinter::PdfFormat);
    impresora.setOutputFileName(pdf);
    int dialogos = 0;
    plat::setDialogScript([&](QObject *d) {
        dialogos += d == modulo_->PrintDialog1;
        return true;
    });
    VentanaGrafico v(QStringLiteral("Titulo=Ventas anuales;Marcas=SI"),
                     QStringLiteral("Titulo=Ventas;Tipo=Barras;Color=Azul;Valores=1:120:Madrid:/2:80:Sevilla:"));
    v.f->pbImprimir->click();
    plat::setDialogScript(nullptr);
    impresora.setOutputFileName(QString());
    EXPECT_EQ(dialogos, 1);
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString texto = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(texto.contains(QStringLiteral("Ventas anuales"))) << texto.toStdString();
    EXPECT_TRUE(texto.contains(QStringLiteral("Madrid"))) << texto.toStdString();
    EXPECT_TRUE(texto.contains(QStringLiteral("Sevilla"))) << texto.toStdString();
    EXPECT_TRUE(texto.contains(QStringLiteral("120"))) << texto.toStdString();
}

// The printed page shows the same depth as the window: the lit tops and shaded sides of the
// bars are on the 3-D page, and nowhere on the flat one.
TEST_F(ImpresionGrafico, LaPaginaImpresaMuestraLaVista3D)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        GTEST_SKIP() << "pdftoppm is not installed";
    ASSERT_TRUE(prepararMotor(false));
    plat::setDialogScript([](QObject *) { return true; });
    const QString series = QStringLiteral("Titulo=Ventas;Tipo=Barras;Color=Verde;Valores=1:120:Madrid:/2:80:Sevilla:/3:150:Bilbao:");
    const QColor verde(0, 128, 0);
    QDir().mkpath(QStringLiteral(GP_IMAGENES_GRAFICOS));
    for (const bool tresD : {true, false}) {
        SCOPED_TRACE(tresD ? "3-D" : "flat");
        const QString pdf = dir_.file(tresD ? QStringLiteral("tresd.pdf") : QStringLiteral("plano.pdf"));
        QPrinter &impresora = plat::sharedPrinter();
        impresora.setOutputFormat(QPrinter::PdfFormat);
        impresora.setOutputFileName(pdf);
        VentanaGrafico v(QStringLiteral("Titulo=Ventas anuales;Medidas=420x320") + (tresD ? QString() : QStringLiteral(";Vista3D=NO")),
                         series);
        v.f->pbImprimir->click();
        impresora.setOutputFileName(QString());
        const QString pagina = QStringLiteral(GP_IMAGENES_GRAFICOS "/vista3d-impreso") + (tresD ? QString() : QStringLiteral("-plano"));
        QProcess p;
        p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"),
                                              QStringLiteral("-singlefile"), pdf, pagina});
        ASSERT_TRUE(p.waitForFinished(30000));
        const QImage imagen(pagina + QStringLiteral(".png"));
        ASSERT_FALSE(imagen.isNull());
        int iluminados = 0, sombreados = 0;
        const auto cerca = [](QColor a, QColor b) {
            return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) < 24;
        };
        for (int y = 0; y < imagen.height(); ++y)
            for (int x = 0; x < imagen.width(); ++x) {
                const QColor c = imagen.pixelColor(x, y);
                iluminados += cerca(c, profundidad::colorIluminado(verde));
                sombreados += cerca(c, profundidad::colorSombra(verde));
            }
        EXPECT_EQ(iluminados > 200, tresD) << iluminados;
        EXPECT_EQ(sombreados > 200, tresD) << sombreados;
    }
    plat::setDialogScript(nullptr);
}

TEST_F(ImpresionGrafico, SinConfirmarNoSeImprime)
{
    ASSERT_TRUE(prepararMotor(false));
    const QString pdf = dir_.file(QStringLiteral("no.pdf"));
    plat::sharedPrinter().setOutputFileName(pdf);
    plat::setDialogScript([](QObject *) { return false; });
    VentanaGrafico v(QString(), QStringLiteral("Tipo=Barras;Valores=1:1:a:"));
    v.f->pbImprimir->click();
    plat::setDialogScript(nullptr);
    plat::sharedPrinter().setOutputFileName(QString());
    EXPECT_FALSE(QFile::exists(pdf));
}

} // namespace
