#include "GENEW/data/GENECPRO.h"
#include "GENEW/reporting/informes/GENELPRO.h"
#include "GENEW/reporting/informes/GENEPREV.h"
#include "GENEW/reporting/informes/ImprimirListadoProgramable.h"
#include "GENEW/reporting/informes/Informe.h"
#include "GENEW/runtime/Geneinic.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Application.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Lists.h"
#include "tests/data/ModuloFixture.h"
#include "tests/data/TablaLista.h"
#include "tests/reporting/informes/ImpresoraGrabadora.h"
#include "tests/reporting/informes/InformePrueba.h"
#include "tests/support/EntradaUsuario.h"
#include "GENEW/reporting/informes/VistaPreviaInforme.h"
#include "platform/ui/SpinEdit.h"

#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>

using namespace gptest;

namespace {

// The listing dialog over the company table LISTA with the real printing step installed: what
// the user chooses reaches the printer, the preview window or the workbook, on each engine.
class ListadoProgramableImpreso : public ModuloMotorTest
{
protected:
    void SetUp() override
    {
        ModuloMotorTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(crearTablaLista(*modulo_, tabla_, {plat::fieldDef(QStringLiteral("Codigo"), ftString, 10, true),
                                                          plat::fieldDef(QStringLiteral("Nombre"), ftString, 40),
                                                          plat::fieldDef(QStringLiteral("Importe"), ftFloat)}));
        dialogo_ = plat::createForm<TfGENECPRO>();
    }

    void TearDown() override
    {
        plat::application().OnModalShown = nullptr;
        plat::setDialogScript(nullptr);
        if (dialogo_)
            dialogo_->Free();
        tabla_.close();
        ModuloMotorTest::TearDown();
    }

    // Plays the user on the dialog: the fields, one filter line and the title, then the
    // choices of the case, then "Conforme".
    void listar(const QString &filtro, const std::function<void(TfGENECPRO &)> &elegir)
    {
        plat::application().OnModalShown = [&](plat::Form &f) {
            auto &d = static_cast<TfGENECPRO &>(f);
            d.LBSeleccionado->setItems({QStringLiteral("Nombre"), QStringLiteral("Codigo")});
            d.MemoFiltros->setText(filtro);
            d.Titulo->setText(QStringLiteral("Clientes escogidos"));
            elegir(d);
            d.pbConformeClick(d.pbConforme);
            f.Close();
        };
        dialogo_->AbrirListado(tabla_, QString(), QString(), QString());
    }

    plat::TableDataSet tabla_;
    TfGENECPRO *dialogo_ = nullptr;
    ImpresionListadoProgramableInstalada impresion_;
    QTemporaryDir dir_;
};

TEST_P(ListadoProgramableImpreso, PrintingSendsTheFilteredRowsToThePrinter)
{
    const QString pdf = dir_.filePath(QStringLiteral("impresora.pdf"));
    ImpresoraGrabadora grabadora(pdf);
    plat::ScopedPrinterProvider instalada(grabadora);
    plat::setDialogScript([](QObject *dialogo) { return qobject_cast<plat::PrintDialog *>(dialogo) != nullptr; });
    listar(QStringLiteral("(Nombre = 'O''Brien')"), [](TfGENECPRO &d) { d.VisualizacionPrevia->setChecked(false); });

    ASSERT_EQ(grabadora.pedidos.size(), 1) << mensajes_.textos().join(u'\n').toStdString();
    const QString texto = textoPdf(pdf);
    EXPECT_TRUE(texto.contains(QStringLiteral("Clientes escogidos"))) << texto.toStdString();
    EXPECT_EQ(texto.count(QStringLiteral("O'Brien")), 2) << texto.toStdString();
    EXPECT_FALSE(texto.contains(QStringLiteral("Ana")));
    EXPECT_FALSE(texto.contains(QStringLiteral("Pía")));
    EXPECT_EQ(fGENELPRO, nullptr);
}

TEST_P(ListadoProgramableImpreso, PreviewShowsTheListingAndReturnsWhenItCloses)
{
    int paginasVistas = -1;
    QString titulo;
    auto *turno = new QTimer(dialogo_);
    QObject::connect(turno, &QTimer::timeout, [&] {
        if (!fGENEPREV || !fGENELPRO || fGENELPRO->QuickReport->generando())
            return;
        turno->stop();
        paginasVistas = fGENEPREV->NumeroPaginas;
        titulo = fGENELPRO->QuickReport->ReportTitle;
        fGENEPREV->Estado = QStringLiteral("Finalizada");
        fGENEPREV->Close();
    });
    listar(QStringLiteral("(Codigo >= '6')"), [&](TfGENECPRO &) { turno->start(0); });

    EXPECT_EQ(paginasVistas, 1);
    EXPECT_EQ(titulo, QStringLiteral("Clientes escogidos"));
    EXPECT_EQ(fGENELPRO, nullptr);
}

TEST_P(ListadoProgramableImpreso, ThePreviewOverTheDialogTakesTheClicksAndGivesThemBackWhenItCloses)
{
    // Clicks as the window system delivers them: Qt drops those aimed at a blocked window.
    QList<int> zooms;
    bool dialogoEsperaba = false, dialogoResponde = false, salirPerdido = false;
    auto *turno = new QTimer(dialogo_);
    QObject::connect(turno, &QTimer::timeout, [&] {
        if (!fGENEPREV || !fGENELPRO || fGENELPRO->QuickReport->generando())
            return;
        turno->stop();
        TfGENEPREV &v = *fGENEPREV;
        clicDeUsuario(*v.pbZoomToFit);
        zooms << v.SpinEditZoom->value();
        clicDeUsuario(*v.pbZoomTo100);
        zooms << v.SpinEditZoom->value();
        guardarCapturaVentana(v, QStringLiteral("listado-programable-vista-previa"));
        clicDeUsuario(*dialogo_->pbSalir);   // the dialog behind waits its turn
        dialogoEsperaba = dialogo_->isVisible();
        clicDeUsuario(*v.pbSalir);
        QTimer::singleShot(500, dialogo_, [&] {
            if (fGENEPREV) {   // the click was lost: closed by hand, so the test goes on
                salirPerdido = true;
                fGENEPREV->Close();
            }
        });
    });
    plat::application().OnModalShown = [&](plat::Form &f) {
        auto &d = static_cast<TfGENECPRO &>(f);
        d.LBSeleccionado->setItems({QStringLiteral("Nombre"), QStringLiteral("Codigo")});
        d.MemoFiltros->setText(QStringLiteral("(Codigo >= '6')"));
        turno->start(0);
        clicDeUsuario(*d.pbConforme);   // returns when the preview has closed
        guardarCapturaVentana(d, QStringLiteral("listado-programable-tras-vista-previa"));
        dialogoResponde = d.isVisible() && !fGENEPREV;
        clicDeUsuario(*d.pbSalir);
        QTimer::singleShot(500, dialogo_, [&] {
            if (dialogo_->isVisible()) {
                salirPerdido = true;
                dialogo_->Close();
            }
        });
    };
    dialogo_->AbrirListado(tabla_, QString(), QString(), QString());

    ASSERT_EQ(zooms.size(), 2) << mensajes_.textos().join(u'\n').toStdString();
    EXPECT_NE(zooms[0], 100);
    EXPECT_EQ(zooms[1], 100);
    EXPECT_TRUE(dialogoEsperaba);
    EXPECT_TRUE(dialogoResponde);
    EXPECT_FALSE(salirPerdido);
    EXPECT_EQ(fGENELPRO, nullptr);
}

TEST_P(ListadoProgramableImpreso, ExcelWritesTheWorkbookAndListsNothing)
{
    const QString libro = dir_.filePath(QStringLiteral("listado.xlsx"));
    const QString pdf = dir_.filePath(QStringLiteral("impresora.pdf"));
    ImpresoraGrabadora grabadora(pdf);
    plat::ScopedPrinterProvider instalada(grabadora);
    plat::setDialogScript([&](QObject *dialogo) {
        auto *guardar = qobject_cast<plat::SaveDialog *>(dialogo);
        if (guardar)
            guardar->FileName = libro;
        return guardar != nullptr;
    });
    mensajes_.programarRespuestas({QStringLiteral("SI")});
    listar(QStringLiteral("(Codigo >= '8')"), [](TfGENECPRO &d) {
        d.VisualizacionPrevia->setChecked(false);
        d.pbExportarExcel->setDownState(true);
    });

    ASSERT_TRUE(QFile::exists(libro)) << mensajes_.textos().join(u'\n').toStdString();
    EXPECT_TRUE(mensajes_.textos().contains(QStringLiteral("El archivo ha sido guardado en ") + libro));
    const QString contenido = ejecutar(QStringLiteral("unzip"), {QStringLiteral("-p"), libro});
    EXPECT_TRUE(contenido.contains(QStringLiteral("Pía"))) << contenido.left(2000).toStdString();
    EXPECT_FALSE(contenido.contains(QStringLiteral("Ana")));
    EXPECT_TRUE(grabadora.pedidos.isEmpty());
    EXPECT_FALSE(QFile::exists(pdf));
}

INSTANTIATE_TEST_SUITE_P(Motores, ListadoProgramableImpreso, ::testing::Bool(), NombreMotor);

} // namespace
