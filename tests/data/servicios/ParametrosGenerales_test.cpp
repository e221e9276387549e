#include "tests/support/ImprimirQString.h"
#include "GENEW/data/servicios/NombreEmpresaInforme.h"
#include "GENEW/data/servicios/ParametrosGenerales.h"

#include <QHash>
#include <gtest/gtest.h>

namespace {

class RegistroEnMemoria : public RegistroParametrosGenerales
{
public:
    QHash<QString, QVariant> valores;
    QVariant valor(const QString &campo) const override { return valores.value(campo); }
};

} // namespace

TEST(PlantillasNumericas, EmptyRecordLeavesTheBuiltInTemplates)
{
    const PlantillasNumericas plantillas = PlantillasNumericas::deRegistro(RegistroEnMemoria{});
    EXPECT_EQ(plantillas.estandar, "#,###.##");
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(plantillas.formatos[n], "#,###.##") << n;
        EXPECT_TRUE(plantillas.campos[n].isEmpty()) << n;
    }
}

TEST(PlantillasNumericas, NingunaMeansNoStandardTemplateAndMissingLinesFollowIt)
{
    const PlantillasNumericas ninguna = PlantillasNumericas::dePlantillas("Ninguna", "");
    EXPECT_EQ(ninguna.estandar, "");
    EXPECT_EQ(ninguna.formatos[4], "");
    const PlantillasNumericas propia =
        PlantillasNumericas::dePlantillas("#,##0.00", "PlantillaNumerica2=#,##0.0000 Precio,Tarifa");
    EXPECT_EQ(propia.formatos[2], "#,##0.0000");
    EXPECT_EQ(propia.campos[2], (QStringList{"Precio", "Tarifa"}));
    EXPECT_EQ(propia.formatos[4], "#,##0.00");
    EXPECT_TRUE(propia.campos[4].isEmpty());
}

TEST(PlantillasNumericas, LineWithoutFieldsIsAllTemplate)
{
    const PlantillasNumericas plantillas =
        PlantillasNumericas::dePlantillas("", "PlantillaNumerica5=0.000000\r\nPlantillaNumerica1=#,##0 Cantidad,");
    EXPECT_EQ(plantillas.formatos[5], "0.000000");
    EXPECT_TRUE(plantillas.campos[5].isEmpty());
    EXPECT_EQ(plantillas.campos[1], QStringList{"Cantidad"});
}

TEST(PlantillasNumericas, DefaultExtendedTemplatesReadBackAsThreeTemplatesWithTheirFields)
{
    const PlantillasNumericas plantillas = PlantillasNumericas::dePlantillas("#,##0.00", PlantillaNumericaExtPorDefecto());
    EXPECT_EQ(plantillas.formatos[1], "#,###.##");
    EXPECT_EQ(plantillas.campos[1].size(), 15);
    EXPECT_EQ(plantillas.campos[1].last(), "Disponible");
    EXPECT_EQ(plantillas.campos[2], (QStringList{"Precio", "Tarifa"}));
    EXPECT_EQ(plantillas.campos[3].first(), "Importe");
    EXPECT_EQ(plantillas.formatos[4], "#,##0.00");
    EXPECT_EQ(plantillas.formatos[5], "#,##0.00");
}

TEST(PlantillasNumericas, ApplyingMakesThemTheProgramsTemplates)
{
    PlantillasNumericas::dePlantillas("0.0", "PlantillaNumerica3=#,##0.00 Importe").aplicar();
    EXPECT_EQ(FormatoNumericoEstandar, "0.0");
    EXPECT_EQ(FormatosNumericos[3], "#,##0.00");
    EXPECT_EQ(CamposFormatoNumerico[3], QStringList{"Importe"});
    PlantillasNumericas().aplicar();
    EXPECT_EQ(FormatoNumericoEstandar, "#,###.##");
}

TEST(PlantillasNumericas, EditorSavesTheStandardTemplateWithItsTwoSpecialValues)
{
    EXPECT_EQ(FormatoNumericoEstandarDe("Ninguna"), "");
    EXPECT_EQ(FormatoNumericoEstandarDe(""), "#,###.##");
    EXPECT_EQ(FormatoNumericoEstandarDe("#,##0.000"), "#,##0.000");
}

TEST(ParametrosGenerales, RatesAndCurrencyCodesComeFromTheRecord)
{
    RegistroEnMemoria registro;
    registro.valores = {{"Iva1", 21.0}, {"Iva2", 10.0}, {"Iva5", 4.0}, {"Recargo1", 5.2},
                        {"CodigoMonedaBase", 1}, {"CodigoMonedaEuro", 2}, {"CodigoMonedaNacional", 1}};
    const TiposImpuesto tipos = TiposImpuesto::deRegistro(registro);
    EXPECT_EQ(tipos.iva, (std::array<double, 6>{0, 21, 10, 0, 0, 4}));
    EXPECT_EQ(tipos.recargo, (std::array<double, 6>{0, 5.2, 0, 0, 0, 0}));
    const CodigosMoneda codigos = CodigosMoneda::deRegistro(registro);
    EXPECT_EQ(codigos.base, 1);
    EXPECT_EQ(codigos.euro, 2);
    EXPECT_EQ(codigos.nacional, 1);
}

TEST(ParametrosGenerales, ReportsCarryTheNameOfTheOpenCompany)
{
    EXPECT_EQ(NombreEmpresaInforme(), "");
    QString abierta = "Talleres Norte, S.L.";
    {
        const Gancho<std::function<QString()>>::Instalacion empresa(ganchoNombreEmpresaAbierta(), [&] { return abierta; });
        EXPECT_EQ(NombreEmpresaInforme(), "Talleres Norte, S.L.");
        abierta = "Empresa 2";   // a company change is seen at once
        EXPECT_EQ(NombreEmpresaInforme(), "Empresa 2");
    }
    EXPECT_EQ(NombreEmpresaInforme(), "");
}
