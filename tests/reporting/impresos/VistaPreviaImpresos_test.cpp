#include "GENEW/reporting/impresos/OrdenesCampo.h"
#include "GENEW/runtime/AperturaDataSet.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/ServiciosExternos.h"
#include "platform/base/Errores.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/SpinEdit.h"
#include "tests/data/ModuloFixture.h"
#include "tests/reporting/impresos/MotorPrueba.h"
#include "tests/support/ColaCupsPrueba.h"
#include "tests/support/RespuestaDialogoImprimir.h"

#include <QScrollArea>

namespace {

using gptest::MotorPrueba;

// Three documents of 1, 3 and 2 pages (two lines a page), each page with its document's code
// and a black square from 100 to 150 mm.
const QStringList kVista = {
    "[SISTEMA]", "AlturaLinea=10", "InicioLineas=30", "FinLineas=50",
    "[CABECERA]", "Rect=100;100;150;150;1;Negro;;Negro;Solido", "Camp=20;10;0;CodigoTemporal",
    "[LINEAS]", "Text=20;0;0;Linea",
};

void LlenarTresDocumentos(const std::function<void(int)> &documento, const std::function<void(int, int)> &linea)
{
    const int lineas[] = {2, 6, 4};
    for (int d = 1; d <= 3; ++d) {
        documento(d);
        for (int l = 1; l <= lineas[d - 1]; ++l)
            linea(d, l);
    }
}

QRgb Pixel(const TfGENELIMP &m, int x, int y)
{
    return m.Image1->picture().toImage().pixel(x, y) & 0xFFFFFF;
}

class VistaPrevia : public MotorPrueba
{
protected:
    void preparar()
    {
        anadirImpreso("VISTA", kVista, "A4", "Grafico", "Oficina");
        db().exec("UPDATE IMPRESO SET Descripcion = 'Oferta de obra'");
        crearMotor("VISTA", {plat::fieldDef("NumeroCopias", ftInteger)});
        motor->InstalarOrdenesCampo(&motor->ordenesCampoPropias());
        LlenarTresDocumentos([this](int d) { documento(d, {{"NumeroCopias", 2}}); },
                             [this](int d, int l) { linea(d, l); });
    }
};

TEST_F(VistaPrevia, PagesZoomsRulerAndNavigationOnA1024By768Screen)
{
    preparar();
    bool visto = false;
    alMostrar = [&](TfGENELIMP &m) {
        visto = true;
        EXPECT_TRUE(m.isShownModal());
        EXPECT_EQ(m.formState(), plat::wsMaximized);
        EXPECT_EQ(m.caption(), "Previsualización de Oferta de obra");
        EXPECT_EQ(m.contadorPaginas(), 6);
        EXPECT_EQ(m.SpinEditZoom->value(), 100);
        EXPECT_EQ(m.paginaMostrada(), 1);
        EXPECT_EQ(m.Image1->size(), QSize(800, 1131));
        EXPECT_EQ(m.pbSalir->geometry().right() + 1, 1024 - 16);

        // The ruler: silver where the page is white on a 10 mm line, the page's black kept.
        const int x10 = m.diseno().XPagina(10);
        EXPECT_EQ(x10, 38);
        EXPECT_EQ(Pixel(m, x10, 500), 0xC0C0C0u);
        EXPECT_EQ(Pixel(m, x10 + 10, 500), 0xFFFFFFu);
        EXPECT_EQ(Pixel(m, m.diseno().XPagina(110), 500), 0x000000u);

        m.pbZoomToFit->click();
        EXPECT_EQ(m.SpinEditZoom->value(), 61);
        EXPECT_EQ(m.Image1->geometry(), QRect(264, 1, 488, 690));
        m.pbZoomToWidth->click();
        EXPECT_EQ(m.SpinEditZoom->value(), 127);
        EXPECT_EQ(m.Image1->geometry(), QRect(0, 0, 1016, 1436));
        m.pbZoomTo100->click();
        EXPECT_EQ(m.SpinEditZoom->value(), 100);
        m.SpinEditZoom->setValue(400);   // held to 300
        EXPECT_EQ(m.Image1->size(), QSize(2400, 3393));

        const struct
        {
            int tecleado, pagina;
        } paginas[] = {{3, 3}, {0, 1}, {99, 6}, {-4, 1}};
        for (const auto &p : paginas) {
            m.SpinEditPagina->setValue(p.tecleado);
            EXPECT_EQ(m.paginaMostrada(), p.pagina) << p.tecleado;
            EXPECT_EQ(m.SpinEditPagina->value(), p.pagina);
        }
        m.pbUltimaPagina->click();
        EXPECT_EQ(m.paginaMostrada(), 6);
        m.pbPrimeraPagina->click();
        EXPECT_EQ(m.paginaMostrada(), 1);
    };
    motor->Imprimir();
    EXPECT_TRUE(visto);
    EXPECT_EQ(clavesVistaPrevia.size(), 6);
    EXPECT_EQ(motor->paginas().cuenta(), 0);   // freed once the preview closes
    EXPECT_TRUE(motor->bitmapTrabajo().isNull());

    // A layout without a description: the general caption, and "Impreso" offered for a PDF.
    db().exec("UPDATE IMPRESO SET Descripcion = ''");
    QString titulo, fichero;
    plat::setDialogScript([&](QObject *d) {
        fichero = qobject_cast<plat::OpenDialog *>(d)->FileName;
        return false;
    });
    alMostrar = [&](TfGENELIMP &m) {
        titulo = m.caption();
        m.pbExportarAPDF->click();
    };
    motor->Imprimir();
    plat::setDialogScript(nullptr);
    EXPECT_EQ(titulo, "Previsualización de Impresos");
    EXPECT_EQ(fichero, "Impreso");
}

TEST_F(VistaPrevia, PrintingAllOrThePagesDocumentKeepsThePreviewAndWorksAfterACancel)
{
    preparar();
    QStringList impresos;
    alMostrar = [&](TfGENELIMP &m) {
        const QStringList claves = m.paginas().claves();
        m.SpinEditPagina->setValue(3);   // the second document's first page
        for (plat::SpeedButton *boton : {m.pbImprimir, m.pbImprimirPagina}) {
            SCOPED_TRACE(boton->objectName().toStdString());
            ListadoCanceladoMotor() = true;   // an Esc met before
            mensajes.limpiar();
            boton->click();
            EXPECT_TRUE(mensajes.textos().isEmpty()) << mensajes.textos().join('\n').toStdString();
            EXPECT_EQ(m.contadorPaginas(), 6);
            EXPECT_EQ(m.paginas().claves(), claves);
            EXPECT_FALSE(m.UnaPagina);
            m.SpinEditPagina->setValue(99);
            EXPECT_EQ(m.paginaMostrada(), 6);
            m.SpinEditPagina->setValue(3);
        }
    };
    motor->Imprimir();
    ASSERT_EQ(impresoras.enviados.size(), 2);
    // Two copies of every document, then two of the second document's three pages only.
    EXPECT_EQ(gptest::PaginasPDF(impresoras.enviados.at(0)), 12);
    EXPECT_EQ(gptest::PaginasPDF(impresoras.enviados.at(1)), 6);
    const QString soloSegundo = gptest::TextoPDF(impresoras.enviados.at(1));
    EXPECT_EQ(soloSegundo.count("Linea"), 12);
    EXPECT_EQ(soloSegundo.count(QRegularExpression("^\\s*2\\s*$", QRegularExpression::MultilineOption)), 6);
}

// Through the real print dialog and the system's printers: the file the user names gets the
// pages, the queue the user picks gets them under the layout's title, and a file that
// cannot be written is said.
TEST_F(VistaPrevia, PrintingFromThePreviewGoesWhereTheDialogSays)
{
    gptest::ColaCupsPrueba cola;
    preparar();
    ServicioImpresorasSistema sistema;
    ServiciosImpresion delSistema;
    delSistema.impresoras = &sistema;
    const ServiciosImpresionInstalados instalados(delSistema);
    const QString pdf = dir.file("oferta.pdf");
    alMostrar = [&](TfGENELIMP &m) {
        gptest::ResponderDialogoImprimir({}, pdf);
        m.pbImprimir->click();
        if (cola.disponible()) {
            gptest::ResponderDialogoImprimir("Prueba");
            m.pbImprimirPagina->click();
        }
        plat::setDialogScript([](QObject *d) {
            static_cast<plat::PrintDialog *>(d)->OutputFileName = "/no/existe/oferta.pdf";
            return true;
        });
        m.pbImprimir->click();
        plat::setDialogScript(nullptr);
    };
    motor->Imprimir();
    ASSERT_EQ(mensajes.textos().size(), 1);
    EXPECT_TRUE(mensajes.textos()[0].startsWith("¡Error Imprimiendo!. Motivo: no se puede escribir el archivo /no/existe/oferta.pdf"));
    EXPECT_EQ(gptest::PaginasPDF(pdf), 12);   // every document twice, as on paper
    EXPECT_TRUE(impresoras.enviados.isEmpty());
    if (!cola.disponible())
        GTEST_SKIP() << "no CUPS queue: " << cola.motivo().toStdString();
    const auto trabajos = cola.trabajos(1);
    ASSERT_EQ(trabajos.size(), 1);
    EXPECT_EQ(trabajos[0].titulo, "Oferta de obra");
    EXPECT_EQ(gptest::PaginasPDF(trabajos[0].documento), 2);   // the page's document, twice
}

TEST_F(VistaPrevia, ThePdfButtonWritesTheWholeRequestAndGivesThePreviewItsPagesBack)
{
    preparar();
    QString nombre;
    QList<QStringList> vistos;   // file name, filter and filter index the dialog was given
    plat::OpenDialog *dialogo = nullptr;
    plat::setDialogScript([&](QObject *d) {
        dialogo = qobject_cast<plat::OpenDialog *>(d);
        vistos << QStringList{dialogo->FileName, dialogo->Filter, QString::number(dialogo->FilterIndex)};
        dialogo->FileName = nombre;
        return true;
    });
    alMostrar = [&](TfGENELIMP &m) {
        const QStringList claves = m.paginas().claves();
        const auto exportar = [&](const QString &fichero) {
            nombre = fichero;
            mensajes.limpiar();
            ListadoCanceladoMotor() = true;
            m.pbExportarAPDF->click();
            EXPECT_EQ(m.paginas().claves(), claves);
            EXPECT_EQ(m.contadorPaginas(), 6);
            EXPECT_EQ(m.SalidaImpresion, "");
            ASSERT_NE(dialogo, nullptr);
            EXPECT_EQ(dialogo->Filter, "");   // put back
            m.MostrarPagina(6);
            EXPECT_EQ(m.paginaMostrada(), 6);
        };
        exportar(dir.file("Oferta"));
        EXPECT_TRUE(mensajes.textos().isEmpty()) << mensajes.textos().join('\n').toStdString();
        exportar(dir.file("Oferta.pdf"));
        exportar(dir.file("no-existe/Oferta"));
        ASSERT_EQ(mensajes.textos().size(), 1);
        EXPECT_TRUE(mensajes.textos().first().startsWith("Se ha producido un error al generar el archivo PDF. Motivo: "));
        campos->alEjecutar = [](const auto &) { throw gp::Error("fallo de prueba"); };
        m.InstalarOrdenesCampo(campos.get());
        exportar(dir.file("Fallida"));
        EXPECT_EQ(mensajes.textos(), QStringList{"¡No ha sido posible grabar el informe!"});
    };
    motor->Imprimir();
    plat::setDialogScript(nullptr);
    ASSERT_EQ(vistos.size(), 4);
    EXPECT_EQ(vistos.first(), QStringList({"Oferta de obra", "Archivos PDF (*.PDF)|*.PDF", "1"}));
    EXPECT_EQ(gptest::PaginasPDF(dir.file("Oferta.pdf")), 6);
    QStringList codigos;
    for (const QString &pagina : gptest::TextoPDF(dir.file("Oferta.pdf")).split('\f', Qt::SkipEmptyParts))
        codigos << pagina.section('\n', 0, 0).trimmed();
    EXPECT_EQ(codigos, QStringList({"1", "2", "2", "2", "3", "3"}));
    EXPECT_FALSE(QFile::exists(dir.file("Oferta.pdf.pdf")));   // a name given with ".pdf" keeps it once
    if (qEnvironmentVariableIsSet("GP_GUARDAR_PAGINAS"))
        QFile::copy(dir.file("Oferta.pdf"), qEnvironmentVariable("GP_GUARDAR_PAGINAS") + "/vista-previa-oferta.pdf");
    EXPECT_FALSE(QFile::exists(dir.file("Fallida.pdf")));
}

// In the started program: the general parameters give the initial zoom and the ruler, the data
// module exports both tables to Excel and the start-up form shows the help.
class VistaPreviaModulo : public ModuloFixture
{
protected:
    void SetUp() override
    {
        ModuloFixture::SetUp();
        ASSERT_TRUE(prepararMotor(false));
        ASSERT_EQ(sql("INSERT INTO PARAGENE (IdRegistro, SolicitarDialogoImpresora) VALUES (0, 'NO')"), QString());
        crearModulo();
    }
    void TearDown() override
    {
        plat::application().OnModalShown = nullptr;
        plat::setDialogScript(nullptr);
        ModuloFixture::TearDown();
    }

    void parametros(const QString &zoom, const QString &sinRegla)
    {
        plat::TableDataSet &p = modulo_->ParamGenerales->table();
        p.edit();
        p.fieldByName("FmtVisualizacionPrevia").setAsString(zoom);
        p.fieldByName("PrevisualizacionSinRegla").setAsString(sinRegla);
        p.post();
    }

    // One request of the three documents on screen, the preview answered by pasos.
    void previsualizar(const std::function<void(TfGENELIMP &)> &pasos)
    {
        VistaPreviaImpreso = true;
        CodigoImpresoPeticion = "VISTA";
        fGENELIMP = plat::createForm<TfGENELIMP>();
        fGENELIMP->PonerTamanoPantalla(QSize(1024, 768));
        plat::TableDataSet &impreso = fGENELIMP->Impreso->table();
        if (!impreso.locate("Codigo", "VISTA")) {
            impreso.append();
            impreso.fieldByName("Codigo").setAsString("VISTA");
            impreso.fieldByName("Modo").setAsString("Grafico");
            impreso.fieldByName("Formato").setAsString("A4");
            impreso.fieldByName("Instrucciones").setAsString(kVista.join("\r\n") + "\r\n");
            impreso.post();
        }
        DataSetAbribleDe<plat::TableDataSet> documentos(fGENELIMP->Temporal->table(), "fGENELIMP");
        ASSERT_TRUE(fGENEINIC->CrearTabla(documentos,
                                          "Tabla Temporal 1\r\n/C/1/CodigoTemporal/ftInteger/0/*\r\n"
                                          "/C/2/Cliente/ftString/40/\r\n/I/1/<Primary>/CodigoTemporal\r\n",
                                          1));
        DataSetAbribleDe<plat::TableDataSet> lineas(fGENELIMP->LTemporal->table(), "fGENELIMP");
        ASSERT_TRUE(fGENEINIC->CrearTabla(lineas,
                                          "Tabla Temporal 2\r\n/C/1/CodigoTemporal/ftInteger/0/*\r\n"
                                          "/C/2/Linea/ftSmallint/0/*\r\n/C/3/LineaMemo/ftSmallint/0/*\r\n"
                                          "/C/4/Partida/ftString/40/\r\n/I/1/<Primary>/CodigoTemporal;Linea;LineaMemo\r\n",
                                          1));
        plat::TableDataSet &t = fGENELIMP->Temporal->table();
        plat::TableDataSet &l = fGENELIMP->LTemporal->table();
        l.setIndexFieldNames("CodigoTemporal;Linea;LineaMemo");
        l.setMasterSource(&t, "CodigoTemporal");
        LlenarTresDocumentos(
            [&](int d) {
                t.append();
                t.fieldByName("CodigoTemporal").setAsInteger(d);
                t.fieldByName("Cliente").setAsString("Cliente " + QString::number(d));
                t.post();
            },
            [&](int d, int n) {
                l.append();
                l.fieldByName("CodigoTemporal").setAsInteger(d);
                l.fieldByName("Linea").setAsInteger(n);
                l.fieldByName("LineaMemo").setAsInteger(0);
                l.fieldByName("Partida").setAsString(QStringLiteral("Partida %1.%2").arg(d).arg(n));
                l.post();
            });
        plat::application().OnModalShown = [&](plat::Form &mostrado) {
            if (auto *m = qobject_cast<TfGENELIMP *>(&mostrado))
                pasos(*m);
            mostrado.Close();
        };
        fGENELIMP->Imprimir();
        l.setMasterSource(nullptr, QString());
        fGENELIMP->Free();
        fGENELIMP = nullptr;
    }
};

TEST_F(VistaPreviaModulo, TheParametersGiveTheInitialZoomAndTheRuler)
{
    const struct
    {
        const char *formato;
        const char *sinRegla;
        int zoom;
        QRgb linea;   // the 10 mm line where the page is white, at the zoom
    } casos[] = {
        {"150", "NO", 150, 0xC0C0C0}, {"abc", "", 100, 0xC0C0C0}, {"Pagina Completa", "NO", 61, 0xC0C0C0},
        {"Ancho Ajustado", "SI", 127, 0xFFFFFF}, {"Normal", "SI", 100, 0xFFFFFF},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.formato);
        parametros(QString::fromUtf8(c.formato), QString::fromUtf8(c.sinRegla));
        int zoom = 0;
        QRgb linea = 0;
        previsualizar([&](TfGENELIMP &m) {
            zoom = m.SpinEditZoom->value();
            m.pbZoomTo100->click();
            linea = Pixel(m, m.diseno().XPagina(10), 500);
        });
        EXPECT_EQ(zoom, c.zoom);
        EXPECT_EQ(linea, c.linea);
    }
}

TEST_F(VistaPreviaModulo, ExcelExportsBothTablesAndHelpLooksTheCaptionUp)
{
    parametros("Normal", "NO");
    QStringList urls;
    AperturaURLInstalada apertura([&](const QUrl &url) {
        urls << url.fileName();
        return true;
    });
    const QString libro = dir_.file("impreso.xlsx");
    plat::setDialogScript([&](QObject *d) {
        qobject_cast<plat::OpenDialog *>(d)->FileName = libro;
        return true;
    });
    previsualizar([&](TfGENELIMP &m) {
        m.pbExportarAExcel->click();
        m.pbAyuda->click();
        fGENEINIC->Configuracion.mapaNombres =
            MapaNombres::deTexto(QStringLiteral("x Previsualización_de_Impresos 418\r\n"));
        m.pbAyuda->click();
    });
    EXPECT_EQ(urls, QStringList({"index.html", "418.html"}));
    QProcess unzip;
    unzip.start("unzip", {"-p", libro, "xl/sharedStrings.xml", "xl/worksheets/*.xml"});
    ASSERT_TRUE(unzip.waitForFinished(30000));
    const QString contenido = QString::fromUtf8(unzip.readAllStandardOutput());
    EXPECT_TRUE(contenido.contains("Cliente 1")) << contenido.left(400).toStdString();
    EXPECT_TRUE(contenido.contains("Partida 1.1"));
}

} // namespace
