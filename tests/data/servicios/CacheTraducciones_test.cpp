#include "tests/support/ImprimirQString.h"
#include "GENEW/data/servicios/CacheTraducciones.h"

#include <gtest/gtest.h>

TEST(CacheTraducciones, FirstLineOfANameAnswersAndTranslationsAreKnown)
{
    CacheTraducciones cache;
    cache.anadir("Aceptar", "Accept");
    cache.anadir("Aceptar", "OK");
    cache.anadir("Cancelar", "Cancelar");
    EXPECT_EQ(cache.valor("Aceptar"), QString("Accept"));
    EXPECT_EQ(cache.valor("Cancelar"), QString("Cancelar"));
    EXPECT_FALSE(cache.valor("Accept").has_value());
    EXPECT_TRUE(cache.esTraduccion("Accept"));
    EXPECT_TRUE(cache.esTraduccion("OK"));
    EXPECT_FALSE(cache.esTraduccion("Aceptar"));
    // A key holding "=" is named by the text before it, as a Name=Value line is.
    cache.anadir("a=b", "c");
    EXPECT_EQ(cache.valor("a"), QString("b=c"));
    EXPECT_TRUE(cache.esTraduccion("b=c"));
    EXPECT_TRUE(cache.esTraduccion("c"));
}

TEST(CacheTraducciones, TheEntryPastTheBoundDropsTheOldest)
{
    CacheTraducciones cache;
    for (int i = 0; i < CacheTraducciones::maximoEntradas; ++i)
        cache.anadir(QString("T%1").arg(i), QString("R%1").arg(i));
    ASSERT_EQ(cache.numeroEntradas(), 10000);
    EXPECT_EQ(cache.valor("T0"), QString("R0"));

    cache.anadir("Nuevo", "New");
    EXPECT_EQ(cache.numeroEntradas(), 9000);
    EXPECT_FALSE(cache.valor("T1000").has_value());
    EXPECT_FALSE(cache.esTraduccion("R1000"));
    EXPECT_EQ(cache.valor("T1001"), QString("R1001"));
    EXPECT_EQ(cache.lineas().first(), "T1001=R1001");
    EXPECT_EQ(cache.lineas().last(), "Nuevo=New");

    // A name whose first line was dropped answers with its next one.
    CacheTraducciones otra;
    otra.anadir("Doble", "primera");
    for (int i = 0; i < 1000; ++i)
        otra.anadir(QString("T%1").arg(i), "x");
    otra.anadir("Doble", "segunda");
    for (int i = 0; i < 9000; ++i)
        otra.anadir(QString("U%1").arg(i), "y");
    EXPECT_EQ(otra.valor("Doble"), QString("segunda"));
    EXPECT_TRUE(otra.esTraduccion("y"));
    EXPECT_FALSE(otra.esTraduccion("primera"));
}
