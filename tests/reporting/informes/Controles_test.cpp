#include "tests/reporting/informes/InformePrueba.h"

#include <gtest/gtest.h>

using namespace gptest;

namespace {

class Controles : public ::testing::Test
{
protected:
    void preparar(int filas)
    {
        datos = datosPrueba(filas);
        ventana.ponerDatos(datos.get());
        ventana.informe->Prepare();
    }
    const ImpresoraInforme &impresora() const { return *ventana.informe->impresora(); }
    const BandaImpresa *bandaImpresa(const QString &nombre, int pagina = 1) const
    {
        for (const BandaImpresa &b : impresora().GetPage(pagina)->bandas)
            if (b.nombre == nombre)
                return &b;
        return nullptr;
    }
    VentanaInforme ventana;
    std::unique_ptr<plat::ClientDataSet> datos;
};

template<class T>
QVector<T> deTipo(const BandaImpresa &banda)
{
    QVector<T> lista;
    for (const Primitiva &p : banda.primitivas)
        if (const auto *t = std::get_if<T>(&p))
            lista << *t;
    return lista;
}

} // namespace

TEST_F(Controles, BandasHijasTrasSuPadre)
{
    auto *hijaCabecera = ventana.make<BandaHija>("ChildBand1", ventana.informe);
    hijaCabecera->ParentBand = ventana.cabecera;
    hijaCabecera->Height = 20;
    auto *hijaDetalle = ventana.make<BandaHija>("HijaDetalle", ventana.informe);
    hijaDetalle->ParentBand = ventana.detalle;
    hijaDetalle->Height = 5;
    ventana.totales->Enabled = false;
    preparar(70);
    const QList<QStringList> paginas = bandasPorPagina(impresora());
    ASSERT_EQ(paginas.size(), 2);
    for (const QStringList &p : paginas)
        EXPECT_EQ(p.mid(0, 4), (QStringList{"PageHeader", "ChildBand1", "BandaDetalle", "HijaDetalle"}));
    EXPECT_EQ(paginas[0].count("BandaDetalle"), paginas[0].count("HijaDetalle"));
    // A child band prints with its parent's kind: the header's child is header for the exports.
    EXPECT_EQ(bandaImpresa("ChildBand1")->tipo, TipoBanda::CabeceraPagina);
    EXPECT_DOUBLE_EQ(bandaImpresa("ChildBand1")->area.top(), bandaImpresa("PageHeader")->area.bottom());
}

TEST_F(Controles, FigurasYMarcos)
{
    struct Caso { int forma; int lineas; int rectangulos; };
    const Caso casos[] = {{qrsRectangle, 0, 1}, {qrsCircle, 0, 1}, {qrsHorLine, 1, 0}, {qrsVertLine, 1, 0},
                          {qrsTopAndBottom, 2, 0}, {qrsRightAndLeft, 2, 0}};
    auto *figura = ventana.make<FiguraInforme>("Separador", ventana.totales);
    figura->Top = 5;
    figura->Height = 9;
    figura->Width = 200;
    for (const Caso &c : casos) {
        figura->Shape = c.forma;
        preparar(1);
        const BandaImpresa &banda = *bandaImpresa("BandaTotales");
        EXPECT_EQ(deTipo<LineaPagina>(banda).size(), c.lineas) << c.forma;
        EXPECT_EQ(deTipo<RectanguloPagina>(banda).size(), c.rectangulos) << c.forma;
        if (c.forma == qrsHorLine) {
            EXPECT_DOUBLE_EQ(deTipo<LineaPagina>(banda)[0].linea.y1(), banda.area.top() + 5 + 4.5);
        }
    }
    figura->Enabled = false;
    ventana.sumaTotal->Frame.DrawLeft = ventana.sumaTotal->Frame.DrawTop = true;
    ventana.sumaTotal->Frame.DrawRight = ventana.sumaTotal->Frame.DrawBottom = true;
    ventana.sumaTotal->Transparent = false;
    ventana.sumaTotal->Color = plat::clYellow;
    preparar(1);
    const BandaImpresa &banda = *bandaImpresa("BandaTotales");
    EXPECT_EQ(deTipo<LineaPagina>(banda).size(), 4);
    ASSERT_EQ(deTipo<RectanguloPagina>(banda).size(), 1);
    EXPECT_EQ(deTipo<RectanguloPagina>(banda)[0].relleno, QColor(Qt::yellow));
}

TEST_F(Controles, CalculosSobreTodosLosRegistros)
{
    struct Caso { int operacion; const char *esperado; };
    auto *calculo = ventana.make<CalculoDatoInforme>("Calculo", ventana.totales);
    calculo->DataField = "Importe";
    calculo->Mask = "0.##";
    calculo->Left = 100;
    for (const Caso c : {Caso{qrcSum, "55"}, Caso{qrcCount, "10"}, Caso{qrcMax, "10"}, Caso{qrcMin, "1"},
                         Caso{qrcAverage, "5,5"}}) {
        calculo->Operation = c.operacion;
        preparar(10);
        EXPECT_EQ(textosDe(impresora(), "BandaTotales"), QStringList{QString(c.esperado) + "|55,00"}) << c.operacion;
    }
    // A count takes any value that is not empty, texts that are no number included; the
    // other figures read a number; an empty amount adds nothing.
    calculo->DataField = "Nombre";
    calculo->Operation = qrcCount;
    preparar(10);
    EXPECT_EQ(textosDe(impresora(), "BandaTotales"), QStringList{"10|55,00"});
    datos->first();
    datos->edit();
    datos->fieldByName("Importe").clear();
    datos->post();
    calculo->DataField = "Importe";
    for (const Caso c : {Caso{qrcCount, "9"}, Caso{qrcSum, "54"}, Caso{qrcMin, "2"}}) {
        calculo->Operation = c.operacion;
        ventana.informe->Prepare();
        EXPECT_EQ(textosDe(impresora(), "BandaTotales"), QStringList{QString(c.esperado) + "|54,00"}) << c.operacion;
    }
}

TEST_F(Controles, MemoQueCreceConSusLineas)
{
    auto *memo = ventana.make<MemoInforme>("Notas", ventana.totales);
    memo->Lines = QStringList{"primera", "segunda", "tercera", "cuarta"};
    memo->AutoStretch = true;
    memo->Height = 15;
    preparar(1);
    const BandaImpresa &banda = *bandaImpresa("BandaTotales");
    EXPECT_GT(banda.area.height(), 4 * 14);
    EXPECT_EQ(textosDe(impresora(), "BandaTotales"), QStringList{"primera|segunda|1,00|tercera|cuarta"});
}

TEST_F(Controles, SubdetallePorCadaRegistroDeSuConjunto)
{
    auto lineas = datosPrueba(3);
    auto *sub = ventana.make<SubDetalleInforme>("Detail", ventana.informe);
    sub->DataSet = lineas.get();
    sub->Height = 12;
    auto *texto = ventana.make<TextoDatoInforme>("LineaNombre", sub);
    texto->DataSet = lineas.get();
    texto->DataField = "Nombre";
    texto->Left = 40;
    preparar(2);
    EXPECT_EQ(bandasPorPagina(impresora())[0],
              (QStringList{"PageHeader", "BandaDetalle", "Detail", "Detail", "Detail", "BandaDetalle", "Detail", "Detail",
                           "Detail", "BandaTotales", "PageFooter"}));
    EXPECT_EQ(textosDe(impresora(), "Detail").mid(0, 3), (QStringList{"Registro 1", "Registro 2", "Registro 3"}));
}

TEST_F(Controles, PapelYOrientacion)
{
    struct Caso { plat::ReportPaper papel; QPageLayout::Orientation orientacion; QSize milimetros; };
    for (const Caso c : {Caso{plat::ReportPaper::A4, QPageLayout::Portrait, {210, 297}},
                         Caso{plat::ReportPaper::A3, QPageLayout::Landscape, {420, 297}},
                         Caso{plat::ReportPaper::A5, QPageLayout::Portrait, {148, 210}}}) {
        ventana.informe->page()->PaperSize = c.papel;
        ventana.informe->page()->Orientation = c.orientacion;
        preparar(1);
        const QSizeF hoja = impresora().GetPage(1)->tamanio;
        EXPECT_NEAR(hoja.width(), c.milimetros.width() * 96 / 25.4, 0.5);
        EXPECT_NEAR(hoja.height(), c.milimetros.height() * 96 / 25.4, 0.5);
        EXPECT_EQ(ventana.cabecera->landscape(), c.orientacion == QPageLayout::Landscape);
    }
}

TEST_F(Controles, ImagenEstiradaCentradaOEnSuEsquina)
{
    QImage logotipo(40, 20, QImage::Format_RGB32);
    logotipo.fill(Qt::red);
    auto *imagen = ventana.make<ImagenInforme>("TituloLogotipoEmpresa", ventana.cabecera);
    imagen->Picture = logotipo;
    imagen->Left = 10;
    imagen->Top = 5;
    imagen->Width = 100;
    imagen->Height = 75;
    struct Caso { bool estirar, centrar, autoTamanio; QRectF destino; };
    for (const Caso &c : {Caso{true, false, false, {10, 5, 100, 75}}, Caso{false, true, false, {40, 32.5, 40, 20}},
                          Caso{false, false, false, {10, 5, 40, 20}}, Caso{false, false, true, {10, 5, 40, 20}}}) {
        imagen->Stretch = c.estirar;
        imagen->Center = c.centrar;
        imagen->AutoSize = c.autoTamanio;
        preparar(1);
        const BandaImpresa &banda = *bandaImpresa("PageHeader");
        const QVector<ImagenPagina> imagenes = deTipo<ImagenPagina>(banda);
        ASSERT_EQ(imagenes.size(), 1);
        EXPECT_EQ(imagenes[0].destino.translated(-banda.area.topLeft()), c.destino);
        EXPECT_EQ(imagen->Width, c.autoTamanio ? 40 : 100);
        imagen->Width = 100;
        imagen->Height = 75;
    }
}
