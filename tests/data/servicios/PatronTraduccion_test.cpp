#include "tests/support/ImprimirQString.h"
#include "GENEW/data/servicios/traduccion/PatronTraduccion.h"

#include <gtest/gtest.h>

namespace {

// Variable parts that are not numbers or dates are translated by the caller; here they
// come back marked, so that a case shows which parts went through it.
QString marcarParte(const QString &parte) { return u'<' + parte + u'>'; }

struct CasoPatron
{
    const char *nombre;
    QString texto, clave, traduccion, esperado;
};

class PatronTraduccionTest : public ::testing::TestWithParam<CasoPatron>
{
};

TEST_P(PatronTraduccionTest, PartsGoWhereTheTranslationPutsThem)
{
    const CasoPatron &c = GetParam();
    EXPECT_EQ(AplicarPatronTraduccion(c.texto, c.clave, c.traduccion, marcarParte), c.esperado);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, PatronTraduccionTest,
    ::testing::Values(
        CasoPatron{"IntegerKeptInItsPlace", "Se han borrado 25 registros", "Se han borrado \\X1 registros",
                   "\\X1 records were deleted", "25 records were deleted"},
        CasoPatron{"TwoPartsInTheTranslationsOrder", "Copiar ALMACEN en CLIENTES", "Copiar \\X1 en \\X2",
                   "Into \\X2 copy \\X1", "Into <CLIENTES> copy <ALMACEN>"},
        CasoPatron{"DatePartKept", "Cierre del 05/03/2024 realizado", "Cierre del \\X1 realizado",
                   "Closing of \\X1 done", "Closing of 05/03/2024 done"},
        CasoPatron{"FullStopIsAWordOfItsOwn", "Total 12.", "Total \\X1.", "Sum \\X1.", "Sum 12."},
        CasoPatron{"BlankInsideTheTranslationsMarker", "Faltan 3 datos", "Faltan \\X1 datos", "\\ X1 items missing",
                   "3 items missing"},
        CasoPatron{"SeveralWordsMakeOnePart", "Cliente Juan Pérez bloqueado", "Cliente \\X1 bloqueado",
                   "Customer \\X1 blocked", "Customer <Juan Pérez> blocked"},
        CasoPatron{"WordsMatchIgnoringCaseAndAccents", "TOTAL DEL ALMACÉN 7", "Total del almacen \\X1",
                   "Warehouse total \\X1", "Warehouse total 7"},
        CasoPatron{"MarkerTenIsNotMarkerOne", "De 1 a 2", "De \\X1 a \\X2", "\\X10 \\X1 to \\X2", "\\X10 1 to 2"},
        CasoPatron{"KeyWithoutMarkersGivesNothing", "Total 12", "Total general", "Grand total", ""},
        CasoPatron{"EmptyTranslationGivesNothing", "Total 12", "Total \\X1", "", ""}),
    [](const auto &info) { return std::string(info.param.nombre); });

TEST(PatronTraduccion, WordsSplitAtBlanksAndFullStopsAndJoinBack)
{
    const QList<PalabraPatron> palabras = PalabrasPatron("Hola.  Adios a.b");
    QStringList textos;
    for (const PalabraPatron &p : palabras)
        textos << p.texto;
    EXPECT_EQ(textos, (QStringList{"Hola", ".", "Adios", "a", ".", "b"}));
    EXPECT_EQ(UnirPalabrasPatron(palabras), "Hola. Adios a.b");
    EXPECT_EQ(PiezasBusquedaPatron("Borrar 3 filas."), (QStringList{"Borrar%", "%3%", "%filas%", "%."}));
    EXPECT_EQ(PiezasBusquedaPatron("Solo"), QStringList{"Solo%"});
}

TEST(PatronTraduccion, MarkingTheSeparatorIsUndone)
{
    const QString texto = "Fin. Otra linea.\r\n.\r\nY mas.";
    const QString marcado = MarcarSeparador(texto, ".", "Directo");
    EXPECT_EQ(MarcarSeparador("a.b", ".", "Directo"), "a\r\n.\r\nb");
    EXPECT_EQ(MarcarSeparador(marcado, ".", "Inverso"), texto);
    EXPECT_EQ(MarcarSeparador(texto, "", "Directo"), texto);
    EXPECT_EQ(MarcarSeparador(texto, ".", "Otro"), texto);
}

} // namespace
