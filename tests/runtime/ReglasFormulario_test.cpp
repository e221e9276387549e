#include "GENEW/runtime/formularios/ReglasFormulario.h"

#include <gtest/gtest.h>

namespace {

PlantillasVisualizacion plantillas()
{
    PlantillasVisualizacion p;
    p.estandar = "STD";
    for (int n = 1; n <= 5; ++n)
        p.plantillas[n] = QString("P%1").arg(n);
    p.campos[1] = QStringList{"Cantidad", "Unidades"};
    p.campos[4] = QStringList{"Porcentaje", "Dto"};
    p.campos[5] = QStringList{"Coef"};
    return p;
}

TEST(FormatoNumericoDeNombre, FirstRuleThatAppliesWins)
{
    const struct
    {
        const char *campo;
        const char *plantilla;
    } casos[] = {
        {"PrecioTotal", "P2"},          // price wins over total
        {"ImporteUnidades", "P3"},      // amount wins over a word of list 1
        {"TotalDto", "P4"},             // a list word wins over total
        {"UnidadesPedidas", "P1"},
        {"coefReparto", "P5"},          // words compare in upper case
        {"TotalLinea", "P3"},
        {"Descripcion", "STD"},
        {"precio", "P2"},
    };
    for (const auto &c : casos)
        EXPECT_EQ(FormatoNumericoDeNombre(c.campo, plantillas()), c.plantilla) << c.campo;
}

TEST(PiezasBarraEstado, EndAtTheFirstEmptyPieceAfterTheFirst)
{
    EXPECT_EQ(PiezasBarraEstado("a|b||c"), (QStringList{"a", "b"}));
    EXPECT_EQ(PiezasBarraEstado("|b|c"), (QStringList{"", "b", "c"}));
    EXPECT_EQ(PiezasBarraEstado("||c"), QStringList{""});
    EXPECT_EQ(PiezasBarraEstado(""), QStringList{""});
}

TEST(CalcularTamanoFormulario, ByModeAndMainWindowSize)
{
    const TamanoFormulario pequeno = CalcularTamanoFormulario("", false, QSize(1024, 700));
    EXPECT_EQ(pequeno.forma, TamanoFormulario::Fijo);
    EXPECT_EQ(pequeno.rectangulo.size(), QSize(760, 520));
    EXPECT_EQ(CalcularTamanoFormulario("XGA", false, QSize(1024, 768)).rectangulo.size(), QSize(969, 609));
    EXPECT_EQ(CalcularTamanoFormulario("SVGA", false, QSize(1000, 900)).rectangulo.size(), QSize(760, 520));
    const TamanoFormulario ajustado = CalcularTamanoFormulario("Fit", true, QSize(1200, 800));
    EXPECT_EQ(ajustado.forma, TamanoFormulario::Ajustado);
    EXPECT_EQ(ajustado.rectangulo, QRect(0, 0, 1196, 796));
    EXPECT_EQ(CalcularTamanoFormulario("Design", true, QSize()).forma, TamanoFormulario::MasAlto);
    EXPECT_EQ(CalcularTamanoFormulario("Design", false, QSize()).forma, TamanoFormulario::Igual);
}

TEST(CalcularPosicionTeclado, ThreePositionsAndTheCentre)
{
    const QRect control(100, 200, 81, 21);
    const QSize teclado(150, 121);
    const QSize pantalla(1024, 768);
    // Right: the control's left centres both; the keypad beside it, centred on its height.
    PosicionTeclado p = CalcularPosicionTeclado(control, teclado, pantalla, "Posicion=Derecha");
    EXPECT_EQ(p.control, QPoint((1024 - 81 - 150 - 4) / 2, 200));
    EXPECT_EQ(p.teclado, QPoint(p.control.x() + 81 + 4, 200 - (121 - 21) / 2));
    p = CalcularPosicionTeclado(control, teclado, pantalla, "Opciones,Posicion=Arriba");
    EXPECT_EQ(p.control, QPoint(100, (768 - (21 + 121) - 4) / 2 + 121));
    EXPECT_EQ(p.teclado, QPoint(100 - (150 - 81) / 2, p.control.y() - 121 - 4));
    p = CalcularPosicionTeclado(control, teclado, pantalla, "Posicion=Abajo");
    EXPECT_EQ(p.control, QPoint(100, (768 - 21 - 121 - 4) / 2));
    EXPECT_EQ(p.teclado, QPoint(100 - (150 - 81) / 2, p.control.y() + 21 + 4));
    p = CalcularPosicionTeclado(control, teclado, pantalla, "");
    EXPECT_TRUE(p.centrado);
    EXPECT_EQ(p.control, control.topLeft());
    // A keypad wider than the screen: halves truncate toward zero.
    p = CalcularPosicionTeclado(QRect(0, 0, 10, 10), QSize(1101, 10), QSize(100, 100), "Posicion=Derecha");
    EXPECT_EQ(p.control.x(), (100 - 10 - 1101 - 4) / 2);
    EXPECT_EQ(p.control.x(), -507);
}

TEST(AnotarTecla, LettersAsCodesOthersAsOneSeparator)
{
    QString buffer;
    // The Shift and Caps Lock keys between letters add nothing.
    for (int tecla : {int('A'), 16, int('B'), 20, int('C')})
        AnotarTecla(buffer, tecla, false);
    EXPECT_EQ(buffer, "ABC");
    AnotarTecla(buffer, 'T', true);   // Ctrl+T
    EXPECT_EQ(buffer, "ABC|");
    EXPECT_EQ(UltimoCodigoTecleado(buffer), "ABC");
    AnotarTecla(buffer, 13, false);   // Enter: below 40
    AnotarTecla(buffer, 123, false);  // F12: above 122
    EXPECT_EQ(buffer, "ABC|");
    AnotarTecla(buffer, '1', false);
    AnotarTecla(buffer, '2', false);
    EXPECT_EQ(UltimoCodigoTecleado(buffer), "12");
    EXPECT_EQ(UltimoCodigoTecleado(""), "");

    QString largo(10001, u'X');
    AnotarTecla(largo, 'Y', false);
    EXPECT_EQ(largo, "Y");
    QString justo(10000, u'X');
    AnotarTecla(justo, 'Y', false);
    EXPECT_EQ(justo.size(), 10001);
}

TEST(MinutosInactividad, OnlyPositiveWholeNumbers)
{
    EXPECT_EQ(MinutosInactividad("10"), 10);
    EXPECT_EQ(MinutosInactividad(" 5 "), 5);
    for (const char *malo : {"", "0", "-3", "1O", "diez", "2.5"})
        EXPECT_EQ(MinutosInactividad(malo), 0) << malo;
}

} // namespace
