#include "GENEW/reporting/consultas/InstruccionesConsulta.h"

#include <gtest/gtest.h>

TEST(InstruccionesConsulta, UsersAreItemsOfTheListNeverPartsOfOne)
{
    const struct
    {
        const char *instrucciones, *usuario;
        bool autoriza;
    } casos[] = {
        {"UsuariosAutorizados=JUAN,", "AN", false},
        {"UsuariosAutorizados=JUAN,", "JUAN", true},
        {"UsuariosAutorizados=ANA, JUAN ,", "JUAN", true},
        {"UsuariosAutorizados=JUAN,", "ADMIN", false},
        {"Font=Arial,,,10", "AN", true},   // no list: every user
    };
    for (const auto &c : casos)
        EXPECT_EQ(InstruccionesConsulta(c.instrucciones).autoriza(c.usuario), c.autoriza) << c.instrucciones << " " << c.usuario;
}

TEST(InstruccionesConsulta, FontLineReadWithTheDefaultsWhereItCannotBeRead)
{
    QFont defecto(QStringLiteral("DejaVu Sans"));
    defecto.setPointSize(9);
    const auto leer = [&](const QString &valor) { return InstruccionesConsulta("Font=" + valor).fuente(defecto).value(); };
    FuenteConsulta f = leer(QStringLiteral("Courier New,Negrita,Azul,12"));
    EXPECT_EQ(f.fuente.family(), QStringLiteral("Courier New"));
    EXPECT_TRUE(f.fuente.bold());
    EXPECT_EQ(f.fuente.pointSize(), 12);
    EXPECT_EQ(f.color, TextoAColor(QStringLiteral("Azul")));
    f = leer(QStringLiteral("MS Sans Serif,fsItalic,255,8"));
    EXPECT_EQ(f.fuente.family(), QStringLiteral("DejaVu Sans"));
    EXPECT_TRUE(f.fuente.italic());
    EXPECT_EQ(f.fuente.pointSize(), 9);
    EXPECT_EQ(f.color, 255);
    f = leer(QStringLiteral("Arial,,x,grande"));
    EXPECT_EQ(f.fuente.pointSize(), 9);
    EXPECT_FALSE(InstruccionesConsulta("UsuariosAutorizados=A,").fuente(defecto).has_value());
}

TEST(InstruccionesConsulta, WritingAKeyKeepsEveryOtherLine)
{
    InstruccionesConsulta i(QStringLiteral("Propia=1\r\nFont=Arial,,Negro,10\r\nUsuariosAutorizados=ANA,\r\n"));
    QFont fuente(QStringLiteral("Courier New"));
    fuente.setPointSize(11);
    fuente.setUnderline(true);
    i.ponerFuente({fuente, TextoAColor(QStringLiteral("Rojo"))});
    i.ponerUsuariosAutorizados({"ADMIN", "JUAN"});
    EXPECT_EQ(i.texto(), QStringLiteral("Propia=1\r\nFont=Courier New,fsUnderline,Rojo,11\r\nUsuariosAutorizados=ADMIN,JUAN,\r\n"));
    i.ponerFuente({fuente, 0x123456});
    EXPECT_EQ(i.lineas().value(1), QStringLiteral("Font=Courier New,fsUnderline,1193046,11"));
    // A repeated name: clearing the users leaves no older list to come to light.
    InstruccionesConsulta repetida(QStringLiteral("UsuariosAutorizados=\r\nusuariosautorizados=ANA,\r\nPropia=1\r\n"));
    repetida.ponerUsuariosAutorizados({});
    EXPECT_EQ(repetida.texto(), QStringLiteral("Propia=1\r\n"));
    EXPECT_TRUE(repetida.autoriza(QStringLiteral("JUAN")));
}
