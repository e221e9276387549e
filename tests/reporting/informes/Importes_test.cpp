#include "tests/reporting/informes/InformePrueba.h"

#include "GENEW/runtime/Geneinic.h"

#include <gtest/gtest.h>

using namespace gptest;

namespace {

// Stands for the data module's currency handler: shows amounts in the other currency.
class ImportesEnOtraMoneda : public plat::ReportAmountPrinter
{
public:
    void printAmount(QObject *control, QString &valor) override
    {
        controles << control->objectName();
        valor = "€ " + valor;
    }
    QStringList controles;
};

} // namespace

TEST(Importes, LosControlesDeImporteImprimenPorElManejadorInstalado)
{
    VentanaInforme ventana;
    auto datos = datosPrueba(2);
    ventana.ponerDatos(datos.get());
    ventana.importe->Tag = 1000;
    ventana.sumaTotal->Tag = 1001;
    ventana.nombre->Tag = 999;
    // What the form framework's currency switch does: amount controls without a handler.
    for (ControlInforme *control : ventana.detalle->controles() + ventana.totales->controles())
        if (auto *texto = dynamic_cast<plat::ReportTextControl *>(control))
            if (texto->tag() >= 1000 && !texto->printHandlerAssigned())
                texto->setPrintsAmount(true);
    ventana.sumaTotal->OnPrint = [](QObject *, QString &valor) { valor = "Total " + valor; };
    ventana.sumaTotal->setPrintsAmount(true);

    ImportesEnOtraMoneda moneda;
    {
        plat::ScopedReportAmountPrinter instalado(moneda);
        ventana.informe->Prepare();
    }
    EXPECT_EQ(textosDe(*ventana.informe->impresora(), "BandaDetalle"), (QStringList{"Registro 1|€ 1,00", "Registro 2|€ 2,00"}));
    EXPECT_EQ(textosDe(*ventana.informe->impresora(), "BandaTotales"), QStringList{"Total 3,00"});
    EXPECT_EQ(moneda.controles, (QStringList{"LBImporte", "LBImporte"}));

    // Without an installed handler amounts print as they are.
    ventana.informe->Prepare();
    EXPECT_EQ(textosDe(*ventana.informe->impresora(), "BandaDetalle"), (QStringList{"Registro 1|1,00", "Registro 2|2,00"}));
}

// What the form framework reads of the library's controls through the platform interfaces.
TEST(ComponentesInforme, LosControlesDicenSuClaseSusDatosYSusTextos)
{
    VentanaInforme ventana;
    auto *etiqueta = ventana.make<EtiquetaInforme>(QStringLiteral("LBPrecio"), ventana.cabecera);
    etiqueta->Caption = QStringLiteral("Precio");
    auto *memo = ventana.make<MemoInforme>(QStringLiteral("Restricciones"), ventana.cabecera);
    memo->Lines = QStringList{QStringLiteral("uno"), QStringLiteral("dos")};
    ventana.sumaTotal->Expression = QStringLiteral("Sum(Importe)");
    const struct
    {
        plat::ReportTextControl *control;
        plat::ReportTextControl::Kind tipo;
        const char *campo;
        const char *expresion;
        const char *texto;
    } casos[] = {
        {etiqueta, plat::ReportTextControl::Label, "", "", "Precio"},
        {memo, plat::ReportTextControl::Memo, "", "", "uno\ndos"},
        {ventana.titulo, plat::ReportTextControl::SystemData, "", "", ""},
        {ventana.importe, plat::ReportTextControl::DataText, "Importe", "", ""},
        {ventana.sumaTotal, plat::ReportTextControl::Expression, "", "Sum(Importe)", ""},
    };
    for (const auto &c : casos) {
        EXPECT_EQ(c.control->reportKind(), c.tipo) << c.control->name().toStdString();
        EXPECT_EQ(c.control->dataField(), c.campo);
        EXPECT_EQ(c.control->expression(), c.expresion);
        EXPECT_EQ(c.control->text(), c.texto);
    }
    memo->setText(QStringLiteral("a\nb\nc"));
    EXPECT_EQ(memo->Lines.size(), 3);
    etiqueta->setVisible(false);
    EXPECT_FALSE(etiqueta->Enabled);
    // A band's labels, in creation order, and nothing else.
    QStringList etiquetas;
    for (plat::ReportTextControl *l : ventana.cabecera->labels())
        etiquetas << l->name();
    EXPECT_EQ(etiquetas, QStringList{QStringLiteral("LBPrecio")});
}

// The form framework's currency switch on a report: amount controls without a print
// handler of their own print through the amount printer, and stop when it is taken away.
TEST(ComponentesInforme, ElInterruptorDeMonedaMarcaLosControlesDeImporte)
{
    TfGENEINIC inicio;
    VentanaInforme ventana;
    ventana.importe->Tag = 1000;
    ventana.sumaTotal->Tag = 1500;
    ventana.sumaGrupo->Tag = 1000;
    ventana.sumaGrupo->OnPrint = [](QObject *, QString &) {};
    ventana.nombre->Tag = 999;
    ventana.numeroPagina->Tag = 1000;
    inicio.AsignarBotonEuro(&ventana, QStringLiteral("Asignar"));
    EXPECT_TRUE(ventana.importe->printsAmount());
    EXPECT_TRUE(ventana.sumaTotal->printsAmount());
    EXPECT_FALSE(ventana.sumaGrupo->printsAmount());     // its own handler
    EXPECT_FALSE(ventana.nombre->printsAmount());        // tag below 1000
    EXPECT_FALSE(ventana.numeroPagina->printsAmount());  // system data prints no amount
    inicio.AsignarBotonEuro(&ventana, QStringLiteral("Desasignar"));
    EXPECT_FALSE(ventana.importe->printsAmount());
    EXPECT_FALSE(ventana.sumaTotal->printsAmount());
}
