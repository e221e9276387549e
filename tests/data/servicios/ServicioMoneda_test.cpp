#include "tests/support/ImprimirQString.h"
#include "GENEW/data/servicios/ServicioMoneda.h"

#include <QMap>
#include <gtest/gtest.h>

namespace {

// MONEDA in memory with a cursor, as the conversions walk it.
class MonedasEnMemoria : public TablaMonedas
{
public:
    QMap<int, RegistroMoneda> filas;
    bool abrible = true;
    int posicion = -1;

    void anadir(int codigo, const QString &abreviatura, int decimales, double cambio)
    {
        filas.insert(codigo, RegistroMoneda{codigo, "Moneda " + abreviatura, abreviatura, decimales, cambio});
    }
    bool abrir() override { return abrible; }
    std::optional<RegistroMoneda> localizar(int codigo) override
    {
        if (!filas.contains(codigo))
            return std::nullopt;
        posicion = codigo;
        return filas.value(codigo);
    }
    std::optional<RegistroMoneda> actual() override
    {
        if (filas.contains(posicion))
            return filas.value(posicion);
        if (filas.isEmpty())
            return std::nullopt;
        return filas.first();
    }
};

const int PTS = 1;
const int EUR = 2;
const int USD = 3;

class ServicioMonedaTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Rates in pesetas, the national base currency.
        monedas.anadir(PTS, "PTS", 0, 1.0);
        monedas.anadir(EUR, "EUR", 2, 166.386);
        monedas.anadir(USD, "USD", 2, 0.9);
        plantillasPrevias = FormatosNumericos;
        FormatosNumericos[3] = "#,##0.00";
    }
    void TearDown() override { FormatosNumericos = plantillasPrevias; }

    MonedasEnMemoria monedas;
    ServicioMoneda servicio{monedas};
    std::array<QString, 6> plantillasPrevias;
};

} // namespace

TEST_F(ServicioMonedaTest, BaseCurrencyValuesAreLoadedOrDefaulted)
{
    servicio.cargar({PTS, EUR, PTS});
    EXPECT_EQ(DecimalesMonedaBase, 0);
    EXPECT_DOUBLE_EQ(CambioMonedaBase, 1.0);
    EXPECT_EQ(AbreviaturaMonedaBase, "PTS");
    EXPECT_EQ(DescripcionMonedaBase, "Moneda PTS");
    EXPECT_FALSE(servicio.MonedaBaseDistintaNacional());

    servicio.cargar({9, EUR, PTS});
    EXPECT_EQ(DecimalesMonedaBase, 0);
    EXPECT_DOUBLE_EQ(CambioMonedaBase, 1.0);
    EXPECT_EQ(AbreviaturaMonedaBase, "");
    EXPECT_EQ(DescripcionMonedaBase, "");
    EXPECT_TRUE(servicio.MonedaBaseDistintaNacional());
}

TEST_F(ServicioMonedaTest, NationalBaseConvertsToEuroAndBackWithEachCurrencysDecimals)
{
    servicio.cargar({PTS, EUR, PTS});
    EXPECT_DOUBLE_EQ(servicio.ConvertirMoneda("", 1000), 6.01);            // euro: 2 decimals
    EXPECT_DOUBLE_EQ(servicio.ConvertirMoneda("Otra Moneda", 1000), 6.01);
    EXPECT_DOUBLE_EQ(servicio.ConvertirMoneda("AutoInverso", 6.01), 1000);  // pesetas: none
    EXPECT_DOUBLE_EQ(servicio.ConvertirMoneda("", -2500), -15.03);
}

TEST_F(ServicioMonedaTest, EuroBaseConvertsToTheNationalCurrency)
{
    monedas.filas[PTS].cambio = 1 / 166.386;   // rates in euro
    monedas.filas[EUR].cambio = 1;
    servicio.cargar({EUR, EUR, PTS});
    EXPECT_DOUBLE_EQ(servicio.ConvertirMoneda("", 6.01), 1000);            // pesetas: 0 decimals
    EXPECT_DOUBLE_EQ(servicio.ConvertirMoneda("AutoInverso", 1000), 6.01);  // base: 2 decimals
}

TEST_F(ServicioMonedaTest, OtherBaseUsesTheRowTheTableStandsOn)
{
    servicio.cargar({USD, EUR, PTS});   // positions on USD
    EXPECT_DOUBLE_EQ(servicio.ConvertirMoneda("", 9), 10);
}

TEST_F(ServicioMonedaTest, MissingRowsUnreadableTableAndZeroRateGiveZero)
{
    servicio.cargar({PTS, 7, PTS});   // no euro row
    EXPECT_EQ(servicio.ConvertirMoneda("", 1000), 0);

    monedas.filas[EUR].cambio = 0;
    servicio.cargar({PTS, EUR, PTS});
    EXPECT_EQ(servicio.ConvertirMoneda("", 1000), 0);
    EXPECT_EQ(servicio.ConvertirMoneda("Otra Moneda", 1000), 0);

    monedas.abrible = false;
    monedas.filas[EUR].cambio = 166.386;
    EXPECT_EQ(servicio.ConvertirMoneda("", 1000), 0);
    EXPECT_EQ(servicio.DecimalesMoneda(EUR), 0);
    EXPECT_EQ(servicio.CambioMoneda(PTS), 0);
}

TEST_F(ServicioMonedaTest, DecimalsAndRateOfACode)
{
    EXPECT_EQ(servicio.DecimalesMoneda(EUR), 2);
    EXPECT_DOUBLE_EQ(servicio.CambioMoneda(EUR), 166.386);
    EXPECT_EQ(servicio.DecimalesMoneda(99), 0);
    EXPECT_EQ(servicio.CambioMoneda(99), 0);
}

TEST_F(ServicioMonedaTest, AmountTextKeepsItsMarksAndGetsTheEuroSignWhenTheBaseIsNational)
{
    servicio.cargar({PTS, EUR, PTS});
    EXPECT_EQ(servicio.ConvertirTextoImporte("1.000D", ""), "€ 6,01D");
    EXPECT_EQ(servicio.ConvertirTextoImporte("D1.000H", ""), "€ 6,01DH");
    EXPECT_EQ(servicio.ImporteEnOtraMoneda("1000000"), "€ 6.010,12");
    EXPECT_EQ(servicio.ConvertirTextoImporte("0", ""), "0,00");          // zero: no sign
    EXPECT_EQ(servicio.ConvertirTextoImporte("abc", ""), "0,00");
    FormatosNumericos[3] = "#,###.##";
    EXPECT_EQ(servicio.ConvertirTextoImporte("0D", ""), "D");

    monedas.filas[PTS].cambio = 1 / 166.386;
    monedas.filas[EUR].cambio = 1;
    servicio.cargar({EUR, EUR, PTS});   // base differs from national: no sign
    EXPECT_EQ(servicio.ConvertirTextoImporte("6,01", ""), "1.000");
}

TEST_F(ServicioMonedaTest, FieldTextFollowsTheViewTheUserChose)
{
    servicio.cargar({PTS, EUR, PTS});
    using Vista = ServicioMoneda::VistaMoneda;
    EXPECT_EQ(servicio.MostrarImporteMoneda(1234.5, "#,##0.00", Vista::Propia), "1.234,50");
    EXPECT_EQ(servicio.MostrarImporteMoneda(1234.5, "", Vista::Propia), "1234,5");
    EXPECT_EQ(servicio.MostrarImporteMoneda(1000, "#,##0.00", Vista::BotonEuro, 2.0), "€ 6,01");
    EXPECT_EQ(servicio.MostrarImporteMoneda(500, "#,##0.00", Vista::MenuEuro, 2.0), "€ 6,01");
    EXPECT_EQ(servicio.MostrarImporteMoneda(1000, "#,##0.00", Vista::MenuEuro), "€ 6,01");
}

TEST_F(ServicioMonedaTest, ReportAmountsFollowTheEuroButton)
{
    servicio.cargar({PTS, EUR, PTS});
    EXPECT_EQ(servicio.MostrarImporteMonedaInforme("1.000"), "1.000");   // no form layer yet
    bool pulsado = false;
    servicio.ponerBotonEuroPulsado([&] { return pulsado; });
    EXPECT_EQ(servicio.MostrarImporteMonedaInforme("1.000"), "1.000");
    pulsado = true;
    EXPECT_EQ(servicio.MostrarImporteMonedaInforme("1.000"), "€ 6,01");
}
