#include "GENEW/reporting/informes/GENEPREV.h"

#include "GENEW/reporting/informes/VistaPreviaInforme.h"
#include "platform/ui/Controls.h"
#include "platform/ui/ProgressBar.h"
#include "platform/ui/SpinEdit.h"
#include "tests/data/ModuloFixture.h"
#include "tests/reporting/informes/ImpresoraGrabadora.h"
#include "tests/reporting/informes/InformePrueba.h"
#include "tests/support/ColaCupsPrueba.h"
#include "tests/support/RespuestaDialogoImprimir.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPainter>
#include <QPointer>
#include <QTest>
#include <QThread>
#include <QTimer>

using namespace gptest;

namespace {

const QString kEsperarInforme = QStringLiteral("¡Debe esperar a que finalice el informe en curso!");
const QString kEsperarCierre = QStringLiteral("¡Debe esperar a que finalice el informe para cerrar la previsualización!");
const QString kNoGrabado = QStringLiteral("¡No ha sido posible grabar el informe!");
const QString kNoCancelable = QStringLiteral("¡No es posible cancelar el listado en este momento!");
const QString kPreguntaCancelar =
    QStringLiteral("El listado será cancelado a continuación. ¿Desea continuar con el listado?");

// A started program with its data module, a listing window over test rows and the preview
// opened from the report's preview event, as the run-time listing opens it.
class Previsualizacion : public ModuloFixture
{
protected:
    void SetUp() override
    {
        ModuloFixture::SetUp();
        ASSERT_TRUE(prepararMotor(false));
        listado = new VentanaInforme();
        ponerFilas(130);
    }

    void TearDown() override
    {
        plat::setDialogScript(nullptr);
        delete listado;
        ModuloFixture::TearDown();
    }

    void ponerFilas(int filas)
    {
        datos = datosPrueba(filas);
        listado->ponerDatos(datos.get());
        listado->activarGrupo();
    }

    void ponerParametro(const QString &campo, const QString &valor)
    {
        plat::TableDataSet &parametros = modulo_->ParamGenerales->table();
        ASSERT_TRUE(parametros.active());
        parametros.edit();
        parametros.fieldByName(campo).setAsString(valor);
        parametros.post();
    }

    // Runs the report's preview; mientras runs on the window at every turn of the event loop
    // while the report is being generated, pasos once it has finished. The window is closed
    // afterwards when the steps left it open.
    void previsualizar(const std::function<void(TfGENEPREV &)> &pasos,
                       const std::function<void(TfGENEPREV &)> &mientras = {})
    {
        listado->informe->OnPreview = [&](QObject *) {
            ventana = AbrirPrevisualizacion(*listado->informe);
            auto *turno = new QTimer(ventana);
            QObject::connect(turno, &QTimer::timeout, [&, turno] {
                if (listado->informe->generando()) {
                    if (mientras)
                        mientras(*ventana);
                    return;
                }
                turno->stop();
                pasos(*ventana);
                if (ventana) {
                    ventana->Estado = QStringLiteral("Finalizada");
                    ventana->Close();
                }
            });
            turno->start(0);
        };
        listado->informe->Preview();
    }

    QStringList avisos() const
    {
        QStringList textos;
        for (const auto &m : mensajes_.mensajes())
            if (m.tipo == QLatin1String("A") || m.tipo == QLatin1String("C"))
                textos << m.texto;
        return textos;
    }

    VentanaInforme *listado = nullptr;
    std::unique_ptr<plat::ClientDataSet> datos;
    QPointer<TfGENEPREV> ventana;
};

// Slow records, so that the run takes many slices.
void lento(VentanaInforme &listado)
{
    listado.detalle->BeforePrint = [](QObject *, bool &) { QThread::usleep(300); };
}

TEST_F(Previsualizacion, MuestraLaPrimeraPaginaMientrasSeGeneraYNoSeDejaImprimirNiCerrarHastaElFinal)
{
    ponerFilas(600);
    lento(*listado);
    ponerParametro(QStringLiteral("FmtVisualizacionPrevia"), QStringLiteral("75"));
    bool visto = false;
    previsualizar(
        [&](TfGENEPREV &v) {
            EXPECT_EQ(v.Estado, QStringLiteral("Finalizada"));
            EXPECT_EQ(v.NumeroPaginas, listado->informe->pageCount());
            EXPECT_FALSE(v.ProgressBar1->isVisible());
            EXPECT_EQ(v.SpinEditPagina->maximum(), v.NumeroPaginas);
        },
        [&](TfGENEPREV &v) {
            if (visto || v.NumeroPaginas < 1 || !v.GeneracionEnCurso)
                return;
            visto = true;
            EXPECT_EQ(v.caption(), QStringLiteral("Previsualización de Informes"));
            EXPECT_EQ(v.CancelarelListado1->caption(), QStringLiteral("&Cancelar el Listado"));
            EXPECT_EQ(v.QRPreview1->pageNumber(), 1);
            EXPECT_EQ(v.QRPreview1->zoom(), 75);
            EXPECT_EQ(v.SpinEditZoom->value(), 75);
            EXPECT_TRUE(v.Estado.isEmpty());
            v.pbImprimir->click();
            v.Close();
            v.CancelarelListado1->Click();
            EXPECT_EQ(avisos(), QStringList({kEsperarInforme, kEsperarCierre, kNoCancelable}));
            EXPECT_TRUE(v.isVisible());
        });
    EXPECT_TRUE(visto);
    EXPECT_GT(listado->informe->pageCount(), 5);
    EXPECT_TRUE(ventana.isNull());
}

TEST_F(Previsualizacion, ElZoomInicialSigueAlParametroYLosBotonesLoMuestran)
{
    struct Caso
    {
        const char *formato;
        int zoom;   // 0: the whole page
    };
    for (const Caso &c : {Caso{"Normal", 100}, Caso{"75", 75}, Caso{"5", 10}, Caso{"400", 300}, Caso{"75,5", 100},
                          Caso{"Pagina Completa", 0}}) {
        SCOPED_TRACE(c.formato);
        ponerParametro(QStringLiteral("FmtVisualizacionPrevia"), QString::fromUtf8(c.formato));
        previsualizar([&](TfGENEPREV &v) {
            if (c.zoom) {
                EXPECT_EQ(v.QRPreview1->zoom(), c.zoom);
            } else {
                EXPECT_LE(v.QRPreview1->widget()->height(), v.QRPreview1->viewport()->height());
            }
            EXPECT_EQ(v.SpinEditZoom->value(), std::max(10, v.QRPreview1->zoom()));
        });
    }
    previsualizar([&](TfGENEPREV &v) {
        v.SpinEditZoom->setValue(150);
        EXPECT_EQ(v.QRPreview1->zoom(), 150);
        v.pbZoomToWidthClick(&v);
        EXPECT_GT(v.QRPreview1->widget()->width(), v.QRPreview1->viewport()->width() - 40);
        EXPECT_EQ(v.SpinEditZoom->value(), v.QRPreview1->zoom());
        v.pbZoomTo100->click();
        EXPECT_EQ(v.QRPreview1->zoom(), 100);
        EXPECT_EQ(v.SpinEditZoom->value(), 100);
    });
}

TEST_F(Previsualizacion, ElCampoDePaginaSeQuedaEntreLaPrimeraYLaUltima)
{
    previsualizar([&](TfGENEPREV &v) {
        ASSERT_EQ(v.NumeroPaginas, 3);
        const struct
        {
            int tecleada, mostrada;
        } casos[] = {{2, 2}, {0, 1}, {99, 3}, {1, 1}};
        for (const auto &c : casos) {
            v.SpinEditPagina->setValue(c.tecleada);
            EXPECT_EQ(v.QRPreview1->pageNumber(), c.mostrada) << c.tecleada;
            EXPECT_EQ(v.SpinEditPagina->value(), c.mostrada) << c.tecleada;
        }
        v.pbUltimaPagina->click();
        EXPECT_EQ(v.QRPreview1->pageNumber(), 3);
        EXPECT_EQ(v.SpinEditPagina->value(), 3);
        v.pbPrimeraPagina->click();
        EXPECT_EQ(v.QRPreview1->pageNumber(), 1);
        EXPECT_EQ(v.SpinEditPagina->value(), 1);
    });
}

TEST_F(Previsualizacion, EscCancelaSoloListadosDeConsultasOTablasTemporales)
{
    plat::TableDataSet temporal;
    temporal.setTableName(QStringLiteral("TEMP000001_LISTADO"));
    struct Caso
    {
        const char *nombre;
        plat::DataSet *datos;
        QString respuesta;
        std::optional<bool> cancelado;   // nothing: the flag is left alone
    };
    const Caso casos[] = {
        {"tabla permanente", &modulo_->ParamGenerales->table(), QString(), std::nullopt},
        {"tabla temporal", &temporal, QStringLiteral("NO"), true},
        {"consulta, sigue", nullptr, QStringLiteral("SI"), false},
        {"consulta, cancela", nullptr, QStringLiteral("NO"), true},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        std::optional<bool> cancelado;
        QString teclas;
        ServiciosPrevisualizacion grabados{.PonerListadoCancelado = [&](bool v) { cancelado = v; }};
        grabados.ProcesarTeclaPulsada = [&](QObject *, QChar &k) { teclas += k; };
        TfGENEPREV::ServiciosInstalados servicios(std::move(grabados));
        mensajes_.limpiar();
        if (!c.respuesta.isEmpty())
            mensajes_.programarRespuestas({c.respuesta});
        previsualizar([&](TfGENEPREV &v) {
            if (c.datos)
                listado->informe->DataSet = c.datos;
            EXPECT_FALSE(v.GeneracionEnCurso);
            v.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&v));
            v.SpinEditPagina->setFocus();   // also from inside a field
            QTest::keyClick(v.SpinEditPagina, Qt::Key_Escape);
            EXPECT_TRUE(v.isVisible());   // Esc never reaches the exit button
            QTest::keyClick(v.SpinEditPagina, Qt::Key_X);
            listado->informe->DataSet = datos.get();
        });
        EXPECT_EQ(avisos(), c.respuesta.isEmpty() ? QStringList() : QStringList{kPreguntaCancelar});
        EXPECT_EQ(cancelado, c.cancelado);
        EXPECT_EQ(teclas, QStringLiteral("x"));   // other keys go to the common key routine
    }
}

TEST_F(Previsualizacion, CancelarTrasImprimirCierraLaVentana)
{
    ImpresoraGrabadora grabadora(dir_.file(QStringLiteral("impresora.pdf")));
    plat::ScopedPrinterProvider instalada(grabadora);
    ponerParametro(QStringLiteral("SolicitarDialogoImpresora"), QStringLiteral("NO"));
    mensajes_.programarRespuestas({QStringLiteral("NO")});
    bool cancelado = false;
    TfGENEPREV::ServiciosInstalados servicios({.PonerListadoCancelado = [&](bool v) { cancelado = v; }});
    previsualizar([&](TfGENEPREV &v) {
        v.pbImprimir->click();
        EXPECT_TRUE(v.ImpresionLanzada);
        v.CancelarelListado1->Click();
        QCoreApplication::sendPostedEvents();
        EXPECT_TRUE(ventana.isNull());
    });
    EXPECT_TRUE(cancelado);
    EXPECT_TRUE(listado->informe->impresora()->cancelada());
}

// Through the real print dialog on the system's printers: the file the user names gets the
// pages, the queue the user picks gets them under the report's title, and a print that
// cannot start is said with its reason.
TEST_F(Previsualizacion, ImprimirVaAdondeDiceElDialogo)
{
    ColaCupsPrueba cola;
    listado->informe->ReportTitle = QStringLiteral("Obras del mes");
    const QString pdf = dir_.file(QStringLiteral("listado.pdf"));
    previsualizar([&](TfGENEPREV &v) {
        ResponderDialogoImprimir({}, pdf);
        v.pbImprimir->click();
        if (cola.disponible()) {
            v.SpinEditPagina->setValue(2);
            ResponderDialogoImprimir(QStringLiteral("Prueba"));
            v.pbImprimirPagina->click();
        }
        plat::setDialogScript([](QObject *d) {
            static_cast<plat::PrintDialog *>(d)->OutputFileName = QStringLiteral("/no/existe/listado.pdf");
            return true;
        });
        v.pbImprimir->click();
        plat::setDialogScript(nullptr);
    });
    EXPECT_EQ(avisos(), QStringList{QStringLiteral("¡Error Imprimiendo!. Motivo: no se puede escribir el archivo /no/existe/listado.pdf")});
    EXPECT_EQ(paginasPdf(pdf), 3);
    EXPECT_TRUE(textoPdf(pdf).contains(QStringLiteral("Obras del mes")));
    if (!cola.disponible())
        GTEST_SKIP() << "no CUPS queue: " << cola.motivo().toStdString();
    const auto trabajos = cola.trabajos(1);
    ASSERT_EQ(trabajos.size(), 1);
    EXPECT_EQ(trabajos[0].titulo, QStringLiteral("Obras del mes"));
    EXPECT_EQ(paginasPdf(trabajos[0].documento), 1);
    EXPECT_TRUE(textoPdf(trabajos[0].documento).contains(QStringLiteral("Página 2")));
}

TEST_F(Previsualizacion, ImprimirConDialogoImprimeSuRangoOLaPaginaActual)
{
    const QString pdf = dir_.file(QStringLiteral("impresora.pdf"));
    ImpresoraGrabadora grabadora(pdf);
    plat::ScopedPrinterProvider instalada(grabadora);
    int dialogos = 0;
    plat::setDialogScript([&](QObject *dialogo) {
        auto *impresion = qobject_cast<plat::PrintDialog *>(dialogo);
        EXPECT_EQ(impresion, modulo_->PrintDialog1);
        ++dialogos;
        impresion->FromPage = 2;
        impresion->ToPage = 3;
        impresion->Copies = 2;
        return true;
    });
    bool restricciones = false;
    TfGENEPREV::ServiciosInstalados servicios({.RestriccionesEnPrimeraPagina = [&] { restricciones = true; }});
    previsualizar([&](TfGENEPREV &v) {
        v.pbImprimir->click();
        EXPECT_EQ(dialogos, 1);
        EXPECT_TRUE(restricciones);
        ASSERT_EQ(grabadora.pedidos.size(), 1);
        EXPECT_EQ(grabadora.pedidos[0].copies, 2);
        EXPECT_EQ(paginasPdf(pdf), 2);
        EXPECT_TRUE(textoPdf(pdf).contains(QStringLiteral("Página 2")));
        EXPECT_FALSE(textoPdf(pdf).contains(QStringLiteral("Página 1")));
        EXPECT_EQ(v.Estado, QStringLiteral("Finalizada"));

        v.SpinEditPagina->setValue(3);
        v.pbImprimirPagina->click();
        EXPECT_EQ(paginasPdf(pdf), 1);
        EXPECT_TRUE(textoPdf(pdf).contains(QStringLiteral("Página 3")));
        EXPECT_EQ(v.QRPreview1->pageNumber(), 3);

        // A cancelled dialog prints nothing.
        plat::setDialogScript([](QObject *) { return false; });
        v.pbImprimir->click();
        EXPECT_EQ(grabadora.pedidos.size(), 2);
        v.pbSalir->click();
        QCoreApplication::sendPostedEvents();
        EXPECT_TRUE(ventana.isNull());
    });
}

TEST_F(Previsualizacion, SinDialogoLaPaginaActualSaleSolaYTodoSaleEntero)
{
    const QString pdf = dir_.file(QStringLiteral("impresora.pdf"));
    ImpresoraGrabadora grabadora(pdf);
    plat::ScopedPrinterProvider instalada(grabadora);
    ponerParametro(QStringLiteral("SolicitarDialogoImpresora"), QStringLiteral("NO"));
    int dialogos = 0;
    TfGENEPREV::ServiciosInstalados servicios({.EjecutarDialogoImpresora = [&](plat::PreparedReport &) {
        ++dialogos;
        return true;
    }});
    previsualizar([&](TfGENEPREV &v) {
        v.SpinEditPagina->setValue(2);
        v.pbImprimirPagina->click();
        EXPECT_EQ(paginasPdf(pdf), 1);
        EXPECT_TRUE(textoPdf(pdf).contains(QStringLiteral("Página 2")));
        EXPECT_EQ(v.Estado, QStringLiteral("Finalizada"));
        v.pbImprimir->click();
        EXPECT_EQ(paginasPdf(pdf), 3);
        EXPECT_EQ(listado->informe->PrinterSettings.firstPage, 0);
        EXPECT_EQ(dialogos, 0);
        v.pbSalir->click();
        QCoreApplication::sendPostedEvents();
        EXPECT_TRUE(ventana.isNull());
    });
    EXPECT_EQ(grabadora.pedidos.size(), 2);
}

TEST_F(Previsualizacion, ExportaTextoCSVYHTMLAnadiendoSiempreLaExtension)
{
    struct Caso
    {
        int filtro;
        const char *tecleado;
        const char *escrito;
    };
    const QString filtroPrevio = QStringLiteral("Todos|*.*");
    modulo_->SaveDialog1->Filter = filtroPrevio;
    modulo_->SaveDialog1->DefaultExt = QStringLiteral("DAT");
    previsualizar([&](TfGENEPREV &v) {
        for (const Caso &c : {Caso{1, "INFORME.TXT", "INFORME.TXT.TXT"}, Caso{2, "datos", "datos.CSV"},
                              Caso{3, "pagina", "pagina.HTM"}}) {
            plat::setDialogScript([&](QObject *d) {
                auto *dialogo = qobject_cast<plat::SaveDialog *>(d);
                EXPECT_EQ(dialogo->FileName, QStringLiteral("INFORME"));
                EXPECT_EQ(dialogo->Filter, QStringLiteral("Archivos de Texto (*.TXT)|*.TXT|Formato CSV (*.CSV)|*.CSV|"
                                                          "Documento HTML (*.HTM)|*.HTM"));
                EXPECT_EQ(dialogo->FilterIndex, 1);
                EXPECT_TRUE(dialogo->DefaultExt.isEmpty());
                dialogo->FileName = dir_.file(QString::fromUtf8(c.tecleado));
                dialogo->FilterIndex = c.filtro;
                return true;
            });
            v.pbExportar->click();
            EXPECT_TRUE(QFile::exists(dir_.file(QString::fromUtf8(c.escrito)))) << c.escrito;
            EXPECT_EQ(modulo_->SaveDialog1->Filter, filtroPrevio);
            EXPECT_EQ(modulo_->SaveDialog1->DefaultExt, QStringLiteral("DAT"));
        }
    });
    EXPECT_FALSE(QFile::exists(dir_.file(QStringLiteral("INFORME.TXT"))));
    EXPECT_TRUE(avisos().isEmpty());
    const QString filas = python(QStringLiteral("import csv,sys\n"
                                                "rows=list(csv.reader(open(sys.argv[1], encoding='utf-8', newline='')))\n"
                                                "print(len(rows)); print('|'.join(rows[-1]))"),
                                 dir_.file(QStringLiteral("datos.CSV")));
    EXPECT_TRUE(filas.contains(QStringLiteral("8.515,00"))) << filas.toStdString();   // the total of 1..130
    const QString textos = python(QStringLiteral("import sys\nfrom html.parser import HTMLParser\n"
                                                 "class P(HTMLParser):\n"
                                                 "  def handle_data(self, d):\n"
                                                 "    if d.strip(): print(d.strip())\n"
                                                 "P().feed(open(sys.argv[1], encoding='utf-8').read())"),
                                  dir_.file(QStringLiteral("pagina.HTM")));
    EXPECT_TRUE(textos.contains(QStringLiteral("Registro 130"))) << textos.toStdString();
}

TEST_F(Previsualizacion, ExportarAUnSitioNoGrabableAvisaYCancelarNoHaceNada)
{
    previsualizar([&](TfGENEPREV &v) {
        plat::setDialogScript([&](QObject *d) {
            qobject_cast<plat::SaveDialog *>(d)->FileName = dir_.file(QStringLiteral("no/existe/INFORME"));
            return true;
        });
        v.pbExportar->click();
        v.pbExportarAPDF->click();
        EXPECT_EQ(avisos(), QStringList({kNoGrabado, kNoGrabado}));
        mensajes_.limpiar();
        plat::setDialogScript([&](QObject *d) {
            qobject_cast<plat::SaveDialog *>(d)->FileName = dir_.file(QStringLiteral("cancelado"));
            return false;
        });
        v.pbExportar->click();
        v.pbExportarAPDF->click();
        EXPECT_TRUE(avisos().isEmpty());
    });
    EXPECT_TRUE(QDir(dir_.path()).entryList({QStringLiteral("cancelado*")}).isEmpty());
}

// The file the user is offered bears the name the user knows the listing by, never the
// window's internal name: the report's title, else the window's, else "Informe".
TEST_F(Previsualizacion, ElPdfLlevaElTituloDelInforme)
{
    QStringList propuestos;
    plat::setDialogScript([&](QObject *d) {
        auto *dialogo = qobject_cast<plat::SaveDialog *>(d);
        propuestos << dialogo->FileName;
        EXPECT_EQ(dialogo->Filter, QStringLiteral("Archivos PDF (*.PDF)|*.PDF"));
        dialogo->FileName = dir_.file(dialogo->FileName);
        return true;
    });
    listado->informe->ReportTitle = QStringLiteral("Ventas 2024/25");
    previsualizar([&](TfGENEPREV &v) {
        v.pbExportarAPDF->click();
        QString destino;
        TfGENEPREV::ServiciosInstalados servicios(
            {.ImprimirInforme = [&](plat::PreparedReport &, const QString &d) { destino = d; }});
        v.pbExportarAPDF->click();
        EXPECT_EQ(destino, QStringLiteral("PDF:") + dir_.file(QStringLiteral("Ventas 2024-25.pdf")));
        listado->informe->ReportTitle.clear();
        listado->setCaption(QStringLiteral("Listado de Ventas"));
        v.pbExportarAPDF->click();
        listado->setCaption(QString());
        v.pbExportarAPDF->click();
    });
    EXPECT_EQ(propuestos, QStringList({QStringLiteral("Ventas 2024-25"), QStringLiteral("Ventas 2024-25"),
                                       QStringLiteral("Listado de Ventas"), QStringLiteral("Informe")}));
    EXPECT_EQ(paginasPdf(dir_.file(QStringLiteral("Ventas 2024-25.pdf"))), 3);
}

TEST_F(Previsualizacion, ExcelYPdfEscribenSusFicherosBajoSusTitulosSobreLaVentana)
{
    // The real file dialogs, answered by a person's hand; the preview's own services (no
    // owner installed any).
    struct Dialogo
    {
        QString titulo;
        QWidget *padre;
    };
    QList<Dialogo> dialogos;
    const auto responder = [&](const QString &nombre) {
        QTimer::singleShot(0, [&, nombre] {
            auto *dialogo = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialogo, nullptr);
            dialogos << Dialogo{dialogo->windowTitle(), dialogo->parentWidget()};
            dialogo->selectFile(dir_.file(nombre));
            QMetaObject::invokeMethod(dialogo, "accept");
        });
    };
    mensajes_.programarRespuestas({QStringLiteral("SI"), QStringLiteral("SI")});
    QWidget *vista = nullptr;
    previsualizar([&](TfGENEPREV &v) {
        vista = &v;
        // The user's click on the button brings the preview in front (off screen a click does not).
        v.activateWindow();
        QCoreApplication::processEvents();
        responder(QStringLiteral("libro"));
        v.pbExportarAExcel->click();
        for (const char *nombre : {"informe.PDF", "copia.pdf", "sin"}) {
            responder(QString::fromLatin1(nombre));
            v.pbExportarAPDF->click();
        }
    });
    ASSERT_EQ(dialogos.size(), 4) << mensajes_.textos().join(u'\n').toStdString();
    EXPECT_EQ(dialogos[0].titulo, QStringLiteral("Introducir el Nombre del Fichero de Excel"));
    for (const Dialogo &d : dialogos) {
        EXPECT_EQ(d.padre, vista) << d.titulo.toStdString();
        if (&d != &dialogos[0])
            EXPECT_EQ(d.titulo, QFileDialog::tr("Save As"));
    }
    EXPECT_TRUE(modulo_->SaveDialog1->Title.isEmpty());
    EXPECT_TRUE(mensajes_.textos().contains(QStringLiteral("El archivo ha sido guardado en ")
                                            + dir_.file(QStringLiteral("libro.xlsx"))));
    EXPECT_TRUE(QFile::exists(dir_.file(QStringLiteral("libro.xlsx"))));
    EXPECT_EQ(paginasPdf(dir_.file(QStringLiteral("informe.PDF"))), 3);
    EXPECT_EQ(paginasPdf(dir_.file(QStringLiteral("copia.pdf"))), 3);
    EXPECT_EQ(paginasPdf(dir_.file(QStringLiteral("sin.pdf"))), 3);
    EXPECT_TRUE(QDir(dir_.path()).entryList({QStringLiteral("*.pdf.pdf")}).isEmpty());   // any case
}

TEST_F(Previsualizacion, ExcelPreguntaYExportaDeLaPrimeraFuenteQueHay)
{
    struct Exportacion
    {
        plat::DataSet *principal, *detalle;
        QString fichero;
    };
    QList<Exportacion> hechas;
    TfGENEPREV::ServiciosInstalados servicios(
        {.ExportarExcel = [&](plat::DataSet *principal, plat::DataSet *detalle, const QString &fichero,
                              const QString &) { hechas << Exportacion{principal, detalle, fichero}; }});
    auto lineas = datosPrueba(5);
    mensajes_.programarRespuestas({QStringLiteral("NO"), QStringLiteral("SI"), QStringLiteral("SI"), QStringLiteral("SI")});
    previsualizar([&](TfGENEPREV &v) {
        v.pbExportarAExcel->click();
        EXPECT_TRUE(hechas.isEmpty());

        v.pbExportarAExcel->click();
        auto *detalle = listado->make<SubDetalleInforme>(QStringLiteral("Detail"), listado->informe);
        detalle->Enabled = false;
        detalle->DataSet = lineas.get();
        v.pbExportarAExcel->click();
        plat::TableDataSet &exportar = modulo_->QR_Export_Table->table();
        exportar.setTableName(modulo_->ParamGenerales->table().tableName());
        ASSERT_TRUE(modulo_->AbrirTabla(exportar));
        v.pbExportarAExcel->click();
        exportar.close();
    });
    ASSERT_EQ(hechas.size(), 3);
    EXPECT_EQ(hechas[0].principal, datos.get());
    EXPECT_EQ(hechas[0].detalle, nullptr);
    EXPECT_EQ(hechas[1].principal, datos.get());
    EXPECT_EQ(hechas[1].detalle, lineas.get());
    EXPECT_EQ(hechas[2].principal, &modulo_->QR_Export_Table->table());
    EXPECT_EQ(hechas[2].detalle, nullptr);
    for (const Exportacion &e : hechas)
        EXPECT_EQ(e.fichero, QStringLiteral("Informe"));   // no title: the window's name is not offered
    EXPECT_EQ(avisos().size(), 4);
}

TEST_F(Previsualizacion, LaAyudaBuscaElTituloEnElMapaDeNombres)
{
    QList<int> contextos;
    TfGENEPREV::ServiciosInstalados servicios({.MostrarAyuda = [&](int c) { contextos << c; }});
    previsualizar([&](TfGENEPREV &v) {
        v.pbAyuda->click();
        fGENEINIC->Configuracion.mapaNombres =
            MapaNombres::deTexto(QStringLiteral("x Otra_Ventana 12\r\nx Previsualización_de_Informes 417\r\n"));
        v.pbAyuda->click();
    });
    EXPECT_EQ(contextos, QList<int>({0, 417}));
}

TEST_F(Previsualizacion, CerrarLaVentanaDelListadoDuranteLaPrevisualizacionLaLiberaAlVolver)
{
    QPointer<VentanaInforme> vivo(listado);
    previsualizar([&](TfGENEPREV &v) {
        listado->Release();
        QCoreApplication::sendPostedEvents();
        EXPECT_FALSE(vivo.isNull());
        v.pbSalir->click();
    });
    ASSERT_FALSE(vivo.isNull());
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(vivo.isNull());
    listado = nullptr;
}

TEST_F(Previsualizacion, UnInformeVacioNoAbreVentana)
{
    ponerFilas(0);
    bool abierta = false;
    previsualizar([&](TfGENEPREV &) { abierta = true; });
    EXPECT_FALSE(abierta);
    EXPECT_EQ(fGENEPREV, nullptr);
}

// A listing of one page a record: the last pages in memory, the others in the report's
// temporary file, and every page still shown, printed and written to a PDF.
TEST_F(Previsualizacion, UnListadoDeDosMilPaginasGuardaEnMemoriaSoloLasFijadasYDaTodas)
{
    constexpr int kPaginas = 2000, kEnMemoria = 6, kVista = 1990;
    datos = datosPrueba(kPaginas);
    listado->ponerDatos(datos.get());
    listado->detalle->Height = 800;
    ImpresoraInforme &impresora = *listado->informe->impresora();
    impresora.ponerPaginasEnMemoria(kEnMemoria);

    // Every page handed over is watched: how many of them live at once.
    std::vector<std::weak_ptr<const PaginaGenerada>> entregadas;
    size_t maximoVivas = 0;
    std::optional<PaginaGenerada> generada;   // page kVista as the run made it
    QObject::connect(&impresora, &ImpresoraInforme::paginaDisponible, listado, [&](int n) {
        const PaginaCompartida pagina = impresora.GetPage(n);
        ASSERT_TRUE(pagina);
        entregadas.push_back(pagina);
        if (n == kVista)
            generada = *pagina;
        maximoVivas = std::max<size_t>(maximoVivas, std::count_if(entregadas.begin(), entregadas.end(),
                                                                  [](const auto &p) { return !p.expired(); }));
    });

    const QString pdfImpresora = dir_.file(QStringLiteral("impresora.pdf"));
    const QString pdfSalida = dir_.file(QStringLiteral("listado.pdf"));
    ImpresoraGrabadora grabadora(pdfImpresora);
    plat::ScopedPrinterProvider instalada(grabadora);
    ponerParametro(QStringLiteral("SolicitarDialogoImpresora"), QStringLiteral("NO"));
    QString temporal;
    QImage mostrada;
    int zoom = 0;
    previsualizar([&](TfGENEPREV &v) {
        ASSERT_EQ(v.NumeroPaginas, kPaginas);
        temporal = impresora.paginas().fichero();
        EXPECT_TRUE(QFile::exists(temporal));
        v.SpinEditPagina->setValue(kVista);
        QCoreApplication::processEvents();
        zoom = v.QRPreview1->zoom();
        mostrada = v.QRPreview1->widget()->grab().toImage();

        v.pbImprimir->click();
        EXPECT_EQ(paginasPdf(pdfImpresora), kPaginas);
        modulo_->ImprimirInforme(*listado->informe, QStringLiteral("PDF:") + pdfSalida);
        EXPECT_EQ(paginasPdf(pdfSalida), kPaginas);
    });
    EXPECT_EQ(int(entregadas.size()), kPaginas);
    EXPECT_LE(maximoVivas, size_t(kEnMemoria));
    for (const QString &pdf : {pdfImpresora, pdfSalida}) {
        const QString vista = ejecutar(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QString::number(kVista),
                                                                    QStringLiteral("-l"), QString::number(kVista), pdf,
                                                                    QStringLiteral("-")});
        EXPECT_TRUE(vista.contains(QStringLiteral("Registro %1").arg(kVista))) << vista.toStdString();
    }

    // The page read back from the file shows as the run made it.
    ASSERT_TRUE(generada);
    ASSERT_FALSE(mostrada.isNull());
    QImage esperada(mostrada.size(), mostrada.format());
    esperada.fill(Qt::white);
    {
        QPainter pintor(&esperada);
        pintor.scale(zoom / 100.0, zoom / 100.0);
        dibujarPaginaEn(*generada, pintor);
    }
    const QDir capturas(QCoreApplication::applicationDirPath() + QStringLiteral("/../capturas"));
    capturas.mkpath(QStringLiteral("."));
    mostrada.save(capturas.filePath(QStringLiteral("vista-previa-pagina-1990.png")));
    EXPECT_TRUE(mostrada == esperada);

    // The file goes with the report.
    delete listado;
    listado = nullptr;
    EXPECT_FALSE(temporal.isEmpty());
    EXPECT_FALSE(QFile::exists(temporal));
}

} // namespace
