#include "GENEW/data/ventanas/GENEPARA.h"
#include "GENEW/data/ventanas/GENERINI.h"
#include "GENEW/data/servicios/ParametrosGenerales.h"
#include "GENEW/data/servicios/ServicioMoneda.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Application.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Grids.h"
#include "platform/ui/data/DataControls.h"
#include "platform/ui/data/DataSetComponents.h"
#include "tests/data/ModuloFixture.h"
#include "tests/support/ImprimirQString.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QPointer>
#include <QTest>

namespace {

class ParametrosGlobales : public ModuloMotorTest
{
protected:
    void TearDown() override
    {
        plat::application().OnModalShown = nullptr;
        delete ventana_.data();
        plat::application().setMainForm(nullptr);
        delete marco_;
        ModuloMotorTest::TearDown();
    }

    TfGENEPARA &abrir()
    {
        marco_ = plat::createForm<plat::Form>();
        marco_->setFormStyle(plat::fsMDIForm);
        plat::application().setMainForm(marco_);
        ventana_ = plat::createForm<TfGENEPARA>();
        return *ventana_;
    }

    // The window on screen, on that page, in the active main window.
    TfGENEPARA &mostrar(const char *pagina)
    {
        TfGENEPARA &f = abrir();
        marco_->Show();
        f.Show();
        QApplication::setActiveWindow(marco_);
        f.PageControl1->setActivePageIndex(int(TfGENEPARA::Paginas().indexOf(QString::fromUtf8(pagina))));
        return f;
    }

    plat::TableDataSet &parametros() { return modulo_->ParamGenerales->table(); }
    QString valor(const char *campo) { return parametros().fieldByName(QString::fromUtf8(campo)).asString(); }
    void poner(const char *campo, const QVariant &v)
    {
        if (parametros().state() == plat::DataSetState::Browse)
            parametros().edit();
        parametros().fieldByName(QString::fromUtf8(campo)).setValue(v);
    }

    plat::Form *marco_ = nullptr;
    QPointer<TfGENEPARA> ventana_;
};

TEST_P(ParametrosGlobales, ANewCompanyGetsTheDefaultsAndEveryColumnAPage)
{
    TfGENEPARA &f = abrir();
    ASSERT_FALSE(parametros().isEmpty());
    EXPECT_EQ(DividirLineas(valor("Idiomas")).size(), 9);
    EXPECT_EQ(DividirLineas(valor("PlantillaNumericaExt")).size(), 3);
    EXPECT_EQ(valor("TipoCombinacionTramas"), "Standard");
    EXPECT_EQ(f.PageControl1->pageCount(), 12);
    EXPECT_EQ(f.PageControl1->activePageIndex(), 0);
    struct Caso
    {
        const char *campo, *pagina;
    };
    for (const Caso &c : {Caso{"DtosCascadaVenta", "Ventas"}, Caso{"NumeroDtosLineaCompra", "Compras"},
                          Caso{"NombreOfIntrastat", "Intrastat"}, Caso{"IntrastatActivado", "Intrastat"},
                          Caso{"CodigoPostalTercero", "Empresa"}, Caso{"CIFRepresentante", "Empresa"},
                          Caso{"Recargo3", "Tipos I.V.A."}, Caso{"FmtVisualizacionPrevia", "Impresoras"},
                          Caso{"CodigoMonedaEuro", "Internacional"}, Caso{"PerfilesCategoriasGA", "G.Análisis"},
                          Caso{"HuellaDigitalCertificado", "Certificados"}, Caso{"TipoComision", "General"}}) {
        QWidget *control = f.findChild<QWidget *>(QString::fromUtf8(c.campo));
        ASSERT_NE(control, nullptr) << c.campo;
        EXPECT_TRUE(f.pagina(QString::fromUtf8(c.pagina))->isAncestorOf(control)) << c.campo;
    }
    auto *etiqueta = f.findChild<plat::Label *>(QStringLiteral("LabelCIFTercero"));
    ASSERT_NE(etiqueta, nullptr);
    EXPECT_EQ(etiqueta->caption(), "C.I.F. del Tercero");
}

TEST_P(ParametrosGlobales, SavingChecksTheCurrenciesAndReloadsTheBaseCurrency)
{
    sql(QStringLiteral("INSERT INTO MONEDA (Codigo, Descripcion, Abreviatura, Decimales, Cambio) VALUES "
                       "(1, 'Euro', 'EUR', 2, 1), (2, 'Peseta', 'Pts', 0, 166.386), (3, 'Dolar', 'USD', 3, 1.1)"));
    modulo_->Moneda->table().refresh();
    TfGENEPARA &f = abrir();
    poner("CodigoMonedaNacional", 1);
    poner("CodigoMonedaEuro", 1);
    poner("CodigoMonedaBase", 3);
    f.pbGrabarClick();
    EXPECT_EQ(textosDeTipo("A"), QStringList{"¡La Moneda Nacional y la Moneda Euro no pueden ser la misma!"});
    EXPECT_EQ(parametros().state(), plat::DataSetState::Edit);   // nothing saved, still editing
    EXPECT_EQ(sql("SELECT CodigoMonedaBase FROM PARAGENE"), "");

    poner("CodigoMonedaNacional", 2);
    poner("PlantillaNumericaStd", "Ninguna");
    f.pbGrabarClick();
    EXPECT_EQ(sql("SELECT CodigoMonedaBase FROM PARAGENE"), "3");
    EXPECT_EQ(DecimalesMonedaBase, 3);
    EXPECT_EQ(AbreviaturaMonedaBase, "USD");
    EXPECT_EQ(FormatoNumericoEstandar, "");
    FormatoNumericoEstandar = FormatoNumericoInicial;
}

// A new database has no currencies: the three codes stay empty and Grabar stores what was
// typed, through the window's own edit and button.
TEST_P(ParametrosGlobales, GrabarOnANewDatabaseStoresTheTypedRateWithoutCurrencies)
{
    TfGENEPARA &f = mostrar("Tipos I.V.A.");
    auto *iva = f.findChild<plat::DBEdit *>(QStringLiteral("Iva1"));
    ASSERT_NE(iva, nullptr);
    iva->setFocus();
    QTest::keyClicks(iva, "21");
    QTest::mouseClick(f.pbGrabar, Qt::LeftButton);
    EXPECT_TRUE(textosDeTipo("A").isEmpty()) << textosDeTipo("A").join(u'\n').toStdString();
    EXPECT_EQ(sql("SELECT Iva1 FROM PARAGENE").trimmed().toDouble(), 21.0);
    EXPECT_EQ(sql("SELECT COUNT(*) FROM PARAGENE WHERE CodigoMonedaNacional IS NULL AND CodigoMonedaEuro IS NULL")
                  .trimmed(),
              "1");
}

// The templates memo's right button opens its pop-up; one click on an item runs it, through
// the windows as the window system delivers the mouse.
TEST_P(ParametrosGlobales, OneClickOnATemplatesItemRunsIt)
{
    TfGENEPARA &f = mostrar("Plantillas");
    QWidget *area = f.PlantillaNumericaExt->viewport();
    const QPoint punto(40, 20);
    QTest::mouseMove(area->window()->windowHandle(), area->mapTo(area->window(), punto));
    QContextMenuEvent derecho(QContextMenuEvent::Mouse, punto, area->mapToGlobal(punto));
    QCoreApplication::sendEvent(area, &derecho);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    const QList<QAction *> entradas = menu->actions();
    ASSERT_GE(entradas.size(), 2);
    EXPECT_EQ(entradas[1]->text(), "Configurar Plantilla Numérica 2 (Precios)");
    mensajes_.programarRespuestas({"#,##0.000", "Precio"});
    QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      menu->actionGeometry(entradas[1]).topLeft() + QPoint(12, 4));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_TRUE(DividirLineas(valor("PlantillaNumericaExt")).contains("PlantillaNumerica2=#,##0.000 Precio"))
        << valor("PlantillaNumericaExt").toStdString();
    f.pbCancelarClick();
}

// The labels are Spanish captions, not the columns' names split into words.
TEST(TitulosParametros, SpanishCaptionsAndSplitNamesForColumnsAddedLater)
{
    const struct
    {
        const char *campo, *titulo;
    } casos[] = {
        {"CaracterSeparadorASCII", "Carácter Separador ASCII"},
        {"CIFTercero", "C.I.F. del Tercero"},
        {"CodigoMonedaNacional", "Moneda Nacional"},
        {"Iva3", "Tipo de I.V.A. 3"},
        {"DirecCorreoElectronico", "Correo Electrónico"},
        {"CampoNuevoDeUsuario", "Campo Nuevo De Usuario"},
    };
    for (const auto &c : casos)
        EXPECT_EQ(TituloDeParametro(QString::fromUtf8(c.campo)), QString::fromUtf8(c.titulo)) << c.campo;
}

TEST_P(ParametrosGlobales, MailSettingsAndNumericTemplates)
{
    TfGENEPARA &f = abrir();
    QStringList claves;
    plat::application().OnModalShown = [&](plat::Form &dialogo) {
        auto &editor = static_cast<TfGENERINI &>(dialogo);
        for (const LineaRegistroINI &l : editor.lineas())
            claves << l.nombre;
        EXPECT_EQ(editor.caption(), "Instrucciones");
        EXPECT_EQ(editor.StringGrid->itemProp("ClienteSMTP(Masivo)").PickList, (QStringList{"Por Defecto", "Indy"}));
        editor.StringGrid->setCell(1, 4, "cl=ave");
        editor.pbAceptarClick();
    };
    int f2 = plat::VK_F2;
    f.CfgCorreoElectronico->OnKeyDown(f.CfgCorreoElectronico, f2, plat::ShiftState());
    QStringList esperadas;
    for (const QString &linea : DividirLineas(ConfiguracionCorreoPorDefecto()))
        esperadas << linea.section(u'=', 0, 0);
    EXPECT_EQ(claves.size(), 14);
    EXPECT_EQ(claves, esperadas);
    EXPECT_EQ(LeerValorDeLista("ClaveAccesoSMTP", valor("CfgCorreoElectronico")), "cl=ave");

    mensajes_.programarRespuestas({"#,##0.0000", "Precio, Tarifa ,Neto"});
    f.ConfigurarPlantilla(2);
    const QStringList lineas = DividirLineas(valor("PlantillaNumericaExt"));
    EXPECT_EQ(lineas.size(), 3);
    EXPECT_TRUE(lineas.contains("PlantillaNumerica2=#,##0.0000 Precio,Tarifa,Neto")) << lineas.join('\n').toStdString();
    ASSERT_GE(mensajes_.mensajes().size(), 2);
    EXPECT_EQ(mensajes_.mensajes()[0].respuestaPropuesta, "#,###.##");
    EXPECT_EQ(mensajes_.mensajes()[1].respuestaPropuesta, "Precio,Tarifa");

    f.AsignarPlantillasPorDefectoClick();
    EXPECT_EQ(valor("PlantillaNumericaExt"), PlantillaNumericaExtPorDefecto());
    f.pbCancelarClick();
    EXPECT_EQ(LeerValorDeLista("ClaveAccesoSMTP", valor("CfgCorreoElectronico")), "");   // cancelled, not saved
}

INSTANTIATE_TEST_SUITE_P(Motores, ParametrosGlobales, ::testing::Bool(), NombreMotor);

} // namespace
