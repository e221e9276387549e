#include "tests/reporting/informes/InformePrueba.h"

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
