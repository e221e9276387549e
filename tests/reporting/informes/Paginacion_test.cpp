#include "tests/reporting/informes/InformePrueba.h"

#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasComponentes.h"
#include "platform/data/ValueText.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace gptest;

namespace {

class Paginacion : public ::testing::Test
{
protected:
    void preparar(int filas, int porGrupo = 10)
    {
        datos = datosPrueba(filas, porGrupo);
        ventana.ponerDatos(datos.get());
        ventana.informe->Prepare();
    }
    const ImpresoraInforme &impresora() const { return *ventana.informe->impresora(); }
    QList<QStringList> paginas() const { return bandasPorPagina(impresora()); }
    // Every band printed, page headers and footers left out, over all pages.
    QStringList cuerpo() const
    {
        QStringList nombres;
        for (const QStringList &pagina : paginas())
            for (const QString &n : pagina)
                if (n != QLatin1String("PageHeader") && n != QLatin1String("PageFooter"))
                    nombres << n;
        return nombres;
    }
    QStringList sumasDeGrupo() const { return textosDe(impresora(), QStringLiteral("BandaPieGrupo")); }

    VentanaInforme ventana;
    std::unique_ptr<plat::ClientDataSet> datos;
};

QStringList repetir(const QStringList &bloque, int veces)
{
    QStringList r;
    for (int i = 0; i < veces; ++i)
        r += bloque;
    return r;
}

QStringList sumasEsperadas(int grupos, int porGrupo)
{
    QStringList sumas;
    for (int g = 0; g < grupos; ++g) {
        double suma = 0;
        for (int i = g * porGrupo + 1; i <= (g + 1) * porGrupo; ++i)
            suma += i;
        sumas << plat::formatFloat(QStringLiteral("#,##0.00"), suma);
    }
    return sumas;
}

} // namespace

TEST_F(Paginacion, SinFilasNoHayPaginasSalvoQueSePidan)
{
    preparar(0);
    EXPECT_EQ(ventana.informe->pageCount(), 0);
    EXPECT_TRUE(ventana.informe->prepared());

    ventana.informe->PrintIfEmpty = true;
    ventana.informe->Prepare();
    EXPECT_EQ(paginas(), (QList<QStringList>{{"PageHeader", "BandaTotales", "PageFooter"}}));
}

TEST_F(Paginacion, UnaFila)
{
    ventana.informe->ReportTitle = QStringLiteral("Listado de prueba");
    preparar(1);
    EXPECT_EQ(paginas(), (QList<QStringList>{{"PageHeader", "BandaDetalle", "BandaTotales", "PageFooter"}}));
    EXPECT_EQ(textosDe(impresora(), "BandaDetalle"), QStringList{"Registro 1|1,00"});
    EXPECT_EQ(textosDe(impresora(), "BandaTotales"), QStringList{"1,00"});
    EXPECT_EQ(textosDe(impresora(), "PageHeader"), QStringList{"Listado de prueba"});
}

TEST_F(Paginacion, UnaPaginaJustoLlenaYUnaFilaMas)
{
    // Margins that leave exactly 50 detail rows between the header and the footer.
    PaginaInforme &pagina = *ventana.informe->page();
    pagina.TopMargin = 25.4;   // 96 pixels
    pagina.BottomMargin = (pagina.tamanio().height() - (96 + 99 + 50 * 15 + 45)) * 25.4 / 96;
    ventana.totales->Enabled = false;

    preparar(50);
    ASSERT_EQ(ventana.informe->pageCount(), 1);
    const PaginaCompartida primera = impresora().GetPage(1);
    const BandaImpresa &ultima = primera->bandas[50];
    EXPECT_EQ(ultima.nombre, "BandaDetalle");
    EXPECT_NEAR(ultima.area.bottom(), 96 + 99 + 750, 0.02);
    EXPECT_FALSE(ultima.recortada);

    preparar(51);
    ASSERT_EQ(ventana.informe->pageCount(), 2);
    EXPECT_EQ(paginas()[1], (QStringList{"PageHeader", "BandaDetalle", "PageFooter"}));
}

TEST_F(Paginacion, DoscientasFilasAgrupadas)
{
    ventana.activarGrupo();
    preparar(200);
    const QStringList bloque = QStringList{"BandaCabeceraGrupo"} + repetir({"BandaDetalle"}, 10) + QStringList{"BandaPieGrupo"};
    EXPECT_EQ(cuerpo(), repetir(bloque, 20) + QStringList{"BandaTotales"});
    EXPECT_EQ(sumasDeGrupo(), sumasEsperadas(20, 10));
    EXPECT_EQ(textosDe(impresora(), "BandaTotales"), QStringList{"20.100,00"});
    const auto todas = paginas();
    ASSERT_GT(todas.size(), 3);
    for (const QStringList &pagina : todas) {
        EXPECT_EQ(pagina.first(), "PageHeader");
        EXPECT_EQ(pagina.last(), "PageFooter");
    }
    // The group running across the break is not announced again on the next page.
    EXPECT_EQ(todas[1][1], "BandaDetalle");
}

TEST_F(Paginacion, NuevaPaginaAntesDelGrupoYDelResumen)
{
    ventana.activarGrupo();
    ventana.grupo->ForceNewPage = true;
    ventana.totales->ForceNewPage = true;
    preparar(60);
    const auto todas = paginas();
    ASSERT_EQ(todas.size(), 7);
    for (int p = 0; p < 6; ++p)
        EXPECT_EQ(todas[p][1], "BandaCabeceraGrupo") << p;
    EXPECT_EQ(todas[6], (QStringList{"PageHeader", "BandaTotales", "PageFooter"}));
}

TEST_F(Paginacion, CabeceraDeGrupoRepetidaEnPaginaNueva)
{
    ventana.activarGrupo();
    ventana.grupo->ReprintOnNewPage = true;
    preparar(150, 100);
    const auto todas = paginas();
    ASSERT_GE(todas.size(), 3);
    EXPECT_EQ(todas[1][1], "BandaCabeceraGrupo");
    EXPECT_EQ(textosDe(impresora(), "BandaCabeceraGrupo").mid(0, 2), (QStringList{"Grupo:|G01", "Grupo:|G01"}));
    EXPECT_EQ(sumasDeGrupo(), sumasEsperadas(2, 100).mid(0, 1) + QStringList{"6.275,00"});
}

TEST_F(Paginacion, SumasSinDetalleOSaltandoloPorSuEvento)
{
    ventana.activarGrupo();
    preparar(35);
    const QStringList conDetalle = sumasDeGrupo();
    const QStringList totalConDetalle = textosDe(impresora(), "BandaTotales");
    ASSERT_EQ(conDetalle, sumasEsperadas(3, 10) + QStringList{"165,00"});

    ventana.detalle->Enabled = false;
    ventana.informe->Prepare();
    EXPECT_EQ(sumasDeGrupo(), conDetalle);
    EXPECT_EQ(textosDe(impresora(), "BandaTotales"), totalConDetalle);
    EXPECT_EQ(cuerpo().count("BandaDetalle"), 0);

    ventana.detalle->Enabled = true;
    int llamadas = 0;
    ventana.detalle->BeforePrint = [&](QObject *, bool &imprimir) { imprimir = ++llamadas % 2 == 0; };
    ventana.informe->Prepare();
    EXPECT_EQ(sumasDeGrupo(), conDetalle);
    EXPECT_EQ(cuerpo().count("BandaDetalle"), 17);
    EXPECT_TRUE(ventana.detalle->beforePrintAssigned());
}

TEST_F(Paginacion, GrupoDeVariosCamposComparadosUnoAUno)
{
    // Added, (1,2) and (2,1) would be one group; glued, (1,12) and (11,2) would be one.
    auto pares = std::make_unique<plat::ClientDataSet>(QStringLiteral("Pares"));
    pares->setFieldDefs({plat::fieldDef("A", ftInteger), plat::fieldDef("Campo B", ftInteger),
                         plat::fieldDef("Nombre", ftString, 10), plat::fieldDef("Importe", ftFloat)});
    pares->createDataSet();
    for (auto [a, b] : {std::pair{1, 2}, {2, 1}, {1, 12}, {11, 2}, {11, 2}}) {
        pares->append();
        pares->fieldByName("A").setAsInteger(a);
        pares->fieldByName("Campo B").setAsInteger(b);
        pares->fieldByName("Importe").setAsFloat(1);
        pares->post();
    }
    ventana.grupo->BeforePrint = nullptr;
    for (const QString expresion : {"A+'Campo B'", "'A' + 'Campo B'"}) {
        ventana.activarGrupo(expresion);
        ventana.ponerDatos(pares.get());
        ventana.informe->Prepare();
        EXPECT_EQ(sumasDeGrupo(), (QStringList{"1,00", "1,00", "1,00", "2,00"})) << expresion.toStdString();
    }
}

TEST_F(Paginacion, ExpresionDesconocidaRechazadaAlPreparar)
{
    datos = datosPrueba(3);
    ventana.ponerDatos(datos.get());
    for (const char *expresion : {"Grupo-Nombre", "Sum(Grupo", "Avg(Importe)", "", "Grupo +", "Sum(Importe)"}) {
        ventana.activarGrupo(expresion);
        try {
            ventana.informe->Prepare();
            ADD_FAILURE() << expresion;
        } catch (const gp::Error &e) {
            EXPECT_TRUE(e.mensaje().contains(QString("\"%1\"").arg(expresion))) << e.what();
        }
        EXPECT_FALSE(datos->controlsDisabled());
    }
    ventana.grupo->Enabled = false;
    ventana.sumaTotal->Expression = QStringLiteral("Sum(Importe) * 2");
    EXPECT_THROW(ventana.informe->Prepare(), gp::Error);
    ventana.ponerDatos(nullptr);
    EXPECT_THROW(ventana.informe->Prepare(), gp::Error);
}

TEST_F(Paginacion, OpcionesDeCabeceraYPie)
{
    struct Caso { bool cabecera, pie; bool cabeceraEnPrimera, pieEnUltima; };
    for (const Caso c : {Caso{true, true, true, true}, Caso{false, true, false, true}, Caso{true, false, true, false}}) {
        ventana.informe->FirstPageHeader = c.cabecera;
        ventana.informe->LastPageFooter = c.pie;
        preparar(100);
        const auto todas = paginas();
        ASSERT_EQ(todas.size(), 2);
        EXPECT_EQ(todas[0].first() == "PageHeader", c.cabeceraEnPrimera);
        EXPECT_EQ(todas[1].first(), "PageHeader");
        EXPECT_EQ(todas[0].last(), "PageFooter");
        EXPECT_EQ(todas[1].last() == "PageFooter", c.pieEnUltima);
    }
}

TEST_F(Paginacion, CabeceraQueCreceYMueveSusEtiquetasSoloEnLaPrimeraPagina)
{
    bool primera = true;
    ventana.cabecera->setBeforePrint([&](plat::ReportBand &banda, bool &) {
        const int extra = primera ? 31 : 0;
        banda.setHeight(99 + extra);
        for (plat::ReportControl *control : banda.reportControls())
            control->setTop(12 + extra);
        primera = false;
    });
    ventana.informe->ReportTitle = QStringLiteral("Título");
    preparar(100);
    ASSERT_EQ(ventana.informe->pageCount(), 2);
    const PaginaCompartida hoja1 = impresora().GetPage(1), hoja2 = impresora().GetPage(2);
    const BandaImpresa &p1 = hoja1->bandas[0];
    const BandaImpresa &p2 = hoja2->bandas[0];
    EXPECT_DOUBLE_EQ(p1.area.height(), 130);
    EXPECT_DOUBLE_EQ(p2.area.height(), 99);
    ASSERT_EQ(textosDeBanda(p1).size(), 1);
    ASSERT_EQ(textosDeBanda(p2).size(), 1);
    EXPECT_NEAR(textosDeBanda(p1)[0].caja.top() - p1.area.top(), 43, 0.01);
    EXPECT_NEAR(textosDeBanda(p2)[0].caja.top() - p2.area.top(), 12, 0.01);
    EXPECT_NEAR(impresora().GetPage(1)->bandas[1].area.top(), p1.area.bottom(), 0.01);
}

TEST_F(Paginacion, ControlesAnadidosYLiberadosEnTiempoDeEjecucion)
{
    EtiquetaInforme *marca = nullptr;
    int fila = 0;
    ventana.detalle->BeforePrint = [&](QObject *, bool &) {
        if (++fila == 3) {
            marca = new EtiquetaInforme(ventana.detalle);
            marca->Caption = QStringLiteral("nuevo");
            marca->Left = 320;
        } else if (fila == 5) {
            delete marca;
        }
    };
    preparar(6);
    EXPECT_EQ(textosDe(impresora(), "BandaDetalle"),
              (QStringList{"Registro 1|1,00", "Registro 2|1,00", "Registro 3|nuevo|3,00", "Registro 4|nuevo|4,00",
                           "Registro 5|5,00", "Registro 6|6,00"})
                  .replaceInStrings("Registro 2|1,00", "Registro 2|2,00"));
}

TEST_F(Paginacion, EtiquetaAjustadaHaceCrecerSuBandaYPasaDePagina)
{
    auto *largo = new EtiquetaInforme(ventana.detalle);
    largo->Left = 520;
    largo->Width = 150;
    largo->WordWrap = true;
    largo->AutoStretch = true;
    largo->Height = 15;
    int fila = 0;
    largo->OnPrint = [&](QObject *, QString &valor) {
        valor = ++fila == 58 ? QString("palabra ").repeated(30).trimmed() : QString("corto");
    };
    preparar(70);
    ASSERT_EQ(ventana.informe->pageCount(), 2);
    const PaginaCompartida primera = impresora().GetPage(1), segunda = impresora().GetPage(2);
    const BandaImpresa &ultimaDeLaPrimera = primera->bandas[57];
    EXPECT_EQ(textosDeBanda(ultimaDeLaPrimera)[0].texto, "Registro 57");
    const BandaImpresa &alta = segunda->bandas[1];
    EXPECT_EQ(textosDeBanda(alta)[0].texto, "Registro 58");
    EXPECT_GT(alta.area.height(), 60);
    const QStringList lineas = textosDe(impresora(), "BandaDetalle")[57].split('|');
    EXPECT_GE(lineas.filter("palabra").size(), 5);
    EXPECT_EQ(lineas.filter("palabra").join(u' '), QString("palabra ").repeated(30).trimmed());
}

TEST_F(Paginacion, BandaMasAltaQueUnaPaginaSaleRecortadaEnLaSuya)
{
    ventana.detalle->BeforePrint = [&](QObject *, bool &) {
        ventana.detalle->Height = datos->fieldByName("Importe").asInteger() == 2 ? 2000 : 15;
    };
    preparar(3);
    const auto todas = paginas();
    ASSERT_EQ(todas.size(), 3);
    EXPECT_EQ(todas[1], (QStringList{"PageHeader", "BandaDetalle", "PageFooter"}));
    const BandaImpresa &alta = impresora().GetPage(2)->bandas[1];
    EXPECT_TRUE(alta.recortada);
    EXPECT_LE(alta.area.bottom(), impresora().GetPage(2)->bandas[2].area.top() + 0.01);
    EXPECT_EQ(todas[2][1], "BandaDetalle");
}

TEST_F(Paginacion, EventoDeImpresionCambiaTextoYAlineacion)
{
    ventana.importe->OnPrint = [&](QObject *emisor, QString &valor) {
        valor = "[" + valor + "]";
        static_cast<TextoDatoInforme *>(emisor)->Alignment = plat::taLeftJustify;
    };
    preparar(1);
    const QVector<TextoSituado> textos = textosDeBanda(impresora().GetPage(1)->bandas[1]);
    ASSERT_EQ(textos.size(), 2);
    EXPECT_EQ(textos[1].texto, "[1,00]");
    EXPECT_DOUBLE_EQ(textos[1].caja.left(), ventana.informe->page()->imprimible().left() + 400);
}

TEST_F(Paginacion, DatosDeSistemaDelPie)
{
    preparar(100);
    const QStringList pies = textosDe(impresora(), "PageFooter");
    ASSERT_EQ(pies.size(), 2);
    EXPECT_TRUE(pies[1].startsWith("Página  2|Impreso el ")) << pies[1].toStdString();
    EXPECT_TRUE(QRegularExpression("\\|Impreso el \\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d$").match(pies[0]).hasMatch())
        << pies[0].toStdString();
}

TEST_F(Paginacion, DibujoEnTiempoDeImpresionEnLaCabeceraDeGrupo)
{
    ventana.activarGrupo();
    preparar(25);
    EXPECT_EQ(textosDe(impresora(), "BandaCabeceraGrupo"), (QStringList{"Grupo:|G01", "Grupo:|G02", "Grupo:|G03"}));
}

TEST_F(Paginacion, TitulosTraducidosPorNombre)
{
    datos = datosPrueba(2);
    ventana.ponerDatos(datos.get());
    auto *etiqueta = ventana.make<EtiquetaInforme>(QStringLiteral("LBTitulo"), ventana.cabecera);
    etiqueta->Top = 40;
    // What the translation does: every component's "Caption" and "ReportTitle" by name.
    for (QObject *componente : ventana.components()) {
        for (const char *propiedad : {"Caption", "ReportTitle"})
            if (componente->metaObject()->indexOfProperty(propiedad) >= 0)
                componente->setProperty(propiedad, QString("T:%1").arg(componente->objectName()));
    }
    QObject *informe = BuscarComponente(&ventana, "QuickReport");
    EXPECT_EQ(informe->property("ReportTitle").toString(), "T:QuickReport");
    EXPECT_EQ(informe->property("DataSet").value<plat::DataSet *>(), datos.get());
    ventana.informe->Prepare();
    EXPECT_EQ(textosDe(impresora(), "PageHeader"), QStringList{"T:QuickReport|T:LBTitulo"});
}

