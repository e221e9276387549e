#include "GENEW/data/servicios/lista/CalculoExpresion.h"
#include "GENEW/data/servicios/lista/OpcionesListaDatos.h"

#include <gtest/gtest.h>

namespace {

struct Caso
{
    const char *expresion;
    const char *variables;
    double valor;
};

TEST(CalcularExpresion, FollowsPrecedenceDecimalPointsVariablesAndParentheses)
{
    const Caso casos[] = {
        {"2+3*4", "", 14},
        {"(2+3)*4", "", 20},
        {"10/4", "", 2.5},
        {"7#5", "", 5},
        {"8#5", "", 10},
        {"2x3", "", 6},
        {"9:3", "", 3},
        {"1,5+1.5", "", 3},
        {" 1 , 5 + 2 ", "", 3.5},
        {"-(2+3)", "", -5},
        {"10-(2-5)", "", 13},          // the inner -3 after a minus makes "--", read as "+"
        {"2*(0-3)", "", -6},           // a minus after "*" belongs to the number
        {"3*abc", "", 3},
        {"8-2-1", "", 5},              // one level applies from left to right
        {"12/2/3", "", 2},
        {"Cantidad*Precio", "Cantidad=2\r\nPrecio=5", 10},
        {"PrecioTotal+Precio", "Precio=5\r\nPrecioTotal=100", 6},   // "5Total" counts 1: replaced inside too
        {"((1+1)*(2+1))*2", "", 12},
        {"(0.00001*0.00001)*1000000", "", 0.0001},
        {"(2+3", "", 0},
        {"2+3)", "", 0},
        {"5*2/0", "", 10},             // a division by 0 leaves the product
        {"1e308*10+1", "", 1e308 + 1}, // so does a product that overflows
        {"", "", 0},
    };
    for (const Caso &c : casos)
        EXPECT_DOUBLE_EQ(CalcularExpresion(QString::fromUtf8(c.expresion), QString::fromUtf8(c.variables)), c.valor)
            << c.expresion;
}

TEST(CalcularExpresion, InnerValuesAreWrittenWithoutExponentAndRunawayReplacementsGiveZero)
{
    EXPECT_EQ(NumeroComoTextoDecimal(1e-10), QStringLiteral("0,0000000001"));
    EXPECT_EQ(NumeroComoTextoDecimal(-2.5), QStringLiteral("-2,5"));
    EXPECT_EQ(NumeroComoTextoDecimal(0.1 + 0.2), QStringLiteral("0,3"));
    EXPECT_EQ(NumeroComoTextoDecimal(1e20), QStringLiteral("100000000000000000000"));
    QString variables;
    for (int i = 0; i < 40; ++i)
        variables += QStringLiteral("a=aa\r\n");
    EXPECT_EQ(CalcularExpresion(QStringLiteral("a"), variables), 0);
}

TEST(CalcularExpresion, RowFormulasTakeFieldValuesByWholeOperand)
{
    const auto valor = [](const QString &nombre) -> std::optional<double> {
        if (nombre == QLatin1String("Cantidad"))
            return 3;
        if (nombre == QLatin1String("CantidadBase"))
            return -2;
        return std::nullopt;
    };
    EXPECT_EQ(FormulaConValores(QStringLiteral("Cantidad*CantidadBase-Otro+1.5"), valor), QStringLiteral("3*(-2)-0+1.5"));
    EXPECT_DOUBLE_EQ(CalcularExpresion(FormulaConValores(QStringLiteral("Cantidad-CantidadBase"), valor)), 5);
}

TEST(OpcionesListaDatos, DefinitionsGiveTheTableTheCalculationsAndTheLookUps)
{
    const OpcionesListaDatos o = LeerOpcionesListaDatos(QStringLiteral(
        "Modo=Consulta,Sin Seleccion\r\nNumeroCampos=2\r\nOpciones=NoRedimensionarGrid\r\n"
        "DefinicionCampos=Cantidad,ftFloat,x,,Importe->Cantidad*Precio;Tipo,ftSmallInt,4,ReadOnly,,60,TIPOS;Sobra,ftString,1"));
    EXPECT_TRUE(o.consulta && o.sinSeleccion && !o.eliminar && o.noRedimensionarGrid);
    ASSERT_EQ(o.columnas.size(), 2);
    EXPECT_TRUE(o.columnas[1].soloLectura);
    EXPECT_EQ(o.columnas[1].ancho, 60);
    EXPECT_EQ(o.lineasCalculo(), QStringList{QStringLiteral("Cantidad:Importe->Cantidad*Precio")});
    EXPECT_EQ(o.lineasBusqueda(), QStringList{QStringLiteral("TIPOS>Tipo")});
    EXPECT_EQ(o.definicionTabla(), QStringLiteral("Tabla Temporal\r\n/C/1/GENEMLISLinea/ftInteger/0/*/\r\n"
                                                  "/C/2/Cantidad/ftFloat/0/\r\n/C/3/Tipo/ftSmallint/4/\r\n"
                                                  "/I/1/<Primary>/GENEMLISLinea"));
    const auto calculo = LeerCalculoColumna(QStringLiteral("Importe->Cantidad*Precio"));
    ASSERT_TRUE(calculo);
    EXPECT_EQ(calculo->destino, QStringLiteral("Importe"));
    EXPECT_EQ(calculo->formula, QStringLiteral("Cantidad*Precio"));
    EXPECT_FALSE(LeerOpcionesListaDatos(QStringLiteral("NumeroCampos=dos")).numeroCampos);
}

} // namespace
