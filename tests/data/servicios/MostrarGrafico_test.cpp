#include "GENEW/data/servicios/MostrarGrafico.h"

#include <QStringList>
#include <gtest/gtest.h>

TEST(MostrarGrafico, TheInstalledWindowGetsBothTextsAndTheScopeRestoresThePreviousOne)
{
    MostrarGrafico(QStringLiteral("Tipo=Barras"), QStringLiteral("1;2"));   // nothing installed: nothing happens
    QStringList exterior, interior;
    {
        VentanaGraficoInstalada primera([&](const QString &d, const QString &s) { exterior << d << s; });
        {
            VentanaGraficoInstalada segunda([&](const QString &d, const QString &s) { interior << d << s; });
            MostrarGrafico(QStringLiteral("Tipo=Tarta"), QStringLiteral("A;3"));
        }
        MostrarGrafico(QStringLiteral("Tipo=Lineas"), QStringLiteral("B;4"));
    }
    MostrarGrafico(QStringLiteral("Tipo=Puntos"), QStringLiteral("C;5"));
    EXPECT_EQ(interior, (QStringList{"Tipo=Tarta", "A;3"}));
    EXPECT_EQ(exterior, (QStringList{"Tipo=Lineas", "B;4"}));
}
