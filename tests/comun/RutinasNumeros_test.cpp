#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "GENEW/runtime/comun/SalidaMensajes.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

TEST(Redondeo, MitadesLejosDeCero)
{
    const double casos[][2] = {
        {2.5, 3},   {-2.5, -3}, {0.5, 1},   {-0.5, -1},  {0.49, 0},   {-0.49, 0},
        {2.4999, 2}, {1.49999995, 2}, {-1.49999995, -2}, {1.4999998, 1}, {0, 0}, {7, 7}, {-7, -7},
        {1e19 + 0.0, 1e19},
    };
    for (const auto &c : casos)
        EXPECT_DOUBLE_EQ(Redondear(c[0]), c[1]) << c[0];
}

TEST(Redondeo, Decimales)
{
    EXPECT_DOUBLE_EQ(RedondearDecimales(1.25, 1), 1.3);
    EXPECT_DOUBLE_EQ(RedondearDecimales(-1.25, 1), -1.3);
    EXPECT_DOUBLE_EQ(RedondearDecimales(1.005, 2), 1.01);
    EXPECT_DOUBLE_EQ(RedondearDecimales(2.5, 0), Redondear(2.5));
    EXPECT_DOUBLE_EQ(RedondearDecimales(-2.5, -3), -3);
    EXPECT_DOUBLE_EQ(RedondearDecimales(1e300, 10), 1e300);   // overflow keeps the number
}

TEST(Redondeo, MitadesAParConLimitesDelEntero)
{
    struct Caso { long double valor; int esperado; };
    constexpr int maximo = std::numeric_limits<int>::max();
    constexpr int minimo = std::numeric_limits<int>::min();
    const Caso casos[] = {
        {2.5L, 2}, {3.5L, 4}, {0.5L, 0}, {1.5L, 2}, {-0.5L, 0}, {-1.5L, -2}, {-2.5L, -2},
        {2.4999L, 2}, {2.5001L, 3}, {-2.6L, -3}, {7.0L, 7}, {1e6L + 0.5L, 1000000},
        {2147483646.5L, 2147483646}, {2147483647.4L, maximo}, {-2147483648.4L, minimo},
        {1e300L, maximo}, {-1e300L, minimo}, {4294967296.5L, maximo},
        {std::numeric_limits<long double>::infinity(), maximo},
        {-std::numeric_limits<long double>::infinity(), minimo},
        {std::numeric_limits<long double>::quiet_NaN(), 0},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(RedondearMitadesAPar(c.valor), c.esperado) << double(c.valor);
}

TEST(Redondeo, AMultiplo)
{
    EXPECT_DOUBLE_EQ(RedondearAMultiplo(12.5, 5), 15);
    EXPECT_DOUBLE_EQ(RedondearAMultiplo(12.4, 5), 10);
    EXPECT_DOUBLE_EQ(RedondearAMultiplo(-12.5, 5), -15);
    EXPECT_DOUBLE_EQ(RedondearAMultiplo(12.3, 0), 12.3);
    EXPECT_DOUBLE_EQ(RedondearAMultiplo(0.26, 0.25), 0.25);
}

TEST(Redondeo, EsCero)
{
    EXPECT_TRUE(EsCero(0));
    EXPECT_TRUE(EsCero(0.000009));
    EXPECT_TRUE(EsCero(-0.000009));
    // The bound is held more precisely than a double: the double nearest 0.00001 lies above it.
    EXPECT_FALSE(EsCero(0.00001));
    EXPECT_FALSE(EsCero(0.000011));
    EXPECT_FALSE(EsCero(-0.000011));
}

struct CasoNumero
{
    const char *texto;
    const char *opciones;
    double esperado;
};

TEST(TextoANumero, ComaYPuntoDecimal)
{
    const CasoNumero casos[] = {
        {"1.234,5", "", 1234.5},
        {"1,5", "", 1.5},
        {"-0,25", "", -0.25},
        {"1,234.5", "PuntoDecimal", 1234.5},
        {"1.5", "Opciones,PuntoDecimal", 1.5},
        {"1.5", "", 15},
        {"", "", 0},
        {"abc", "", 0},
        {"1,2,3", "", 0},
        {"  42  ", "", 42},
        {"1,5e3", "", 1500},
        {"1e", "", 0},
    };
    for (const CasoNumero &c : casos)
        EXPECT_DOUBLE_EQ(TextoANumero(QString::fromUtf8(c.texto), QString::fromUtf8(c.opciones)), c.esperado)
            << c.texto << " / " << c.opciones;
}

TEST(TextoANumero, EscrituraConComa)
{
    EXPECT_EQ(FlotanteATexto(1234.5), QStringLiteral("1234,5"));
    EXPECT_EQ(FlotanteATexto(-3), QStringLiteral("-3"));
    EXPECT_EQ(FlotanteATexto(0.1), QStringLiteral("0,1"));
}

TEST(ValidacionNumeros, EnterosYDecimales)
{
    SalidaMensajesGrabada grabada;
    SalidaMensajesInstalada instalada(grabada);
    EXPECT_TRUE(ValidarEntero(QStringLiteral("-2147483648"), QStringLiteral("Codigo")));
    EXPECT_TRUE(ValidarEntero(QStringLiteral("+12"), QStringLiteral("Codigo")));
    EXPECT_FALSE(ValidarEntero(QStringLiteral("2147483648"), QString()));
    EXPECT_FALSE(ValidarEntero(QStringLiteral("a"), QString()));
    EXPECT_FALSE(ValidarEntero(QStringLiteral("1,5"), QString()));
    EXPECT_TRUE(grabada.mensajes().isEmpty());   // no caption, no message

    EXPECT_TRUE(ValidarDecimal(QStringLiteral("1,5"), QStringLiteral("Importe")));
    EXPECT_FALSE(ValidarDecimal(QStringLiteral("1.234,5"), QString()));
    EXPECT_FALSE(ValidarDecimal(QStringLiteral("-"), QString()));
    EXPECT_FALSE(ValidarEntero(QStringLiteral("x"), QStringLiteral("Codigo Cliente")));
    EXPECT_FALSE(ValidarDecimal(QStringLiteral("1,5,"), QStringLiteral("Importe")));
    EXPECT_EQ(grabada.textos(),
              (QStringList{QStringLiteral("¡El valor de Codigo Cliente es incorrecto! Repita por favor"),
                           QStringLiteral("¡El valor de Importe es incorrecto! Repita por favor")}));
}

} // namespace
