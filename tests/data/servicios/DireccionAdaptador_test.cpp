#include "tests/support/ImprimirQString.h"
#include "GENEW/data/servicios/DireccionAdaptador.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

TEST(DireccionAdaptador, FirstNonLoopbackInterfaceWithAnAddressIsTaken)
{
    const QList<InterfazRed> interfaces{
        {true, "00:00:00:00:00:00"},     // loopback
        {false, ""},                     // a tunnel without hardware address
        {false, "00:00:00:00:00:00"},
        {false, "52:54:00:ab:cd:0e"},
        {false, "aa:bb:cc:dd:ee:ff"},
    };
    EXPECT_EQ(DireccionMACDeInterfaces(interfaces, ""), "52-54-00-AB-CD-0E");
    EXPECT_EQ(DireccionMACDeInterfaces(interfaces, "SinSeparadores"), "525400ABCD0E");
}

TEST(DireccionAdaptador, NoUsableInterfaceGivesZeros)
{
    const QList<InterfazRed> soloBucle{{true, "02:42:ac:11:00:02"}, {false, "00:11:22"}};
    EXPECT_EQ(DireccionMACDeInterfaces(soloBucle, "SinSeparadores"), "000000000000");
    EXPECT_EQ(DireccionMACDeInterfaces({}, ""), "00-00-00-00-00-00");
}

TEST(DireccionAdaptador, ThisMachineAnswersTwelveUpperCaseDigits)
{
    const QRegularExpression doceCifras("^[0-9A-F]{12}$");
    EXPECT_TRUE(doceCifras.match(ObtenerDireccionMAC("SinSeparadores")).hasMatch());
}
