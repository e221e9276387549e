#include "GENEW/data/servicios/ConfiguracionRejilla.h"

#include <gtest/gtest.h>

namespace {

const TColor kRojo = 0x0000FF;

TEST(ConfiguracionRejilla, TheLinesAreWrittenAndReadBack)
{
    const FuenteRejilla fuente{QStringLiteral("Arial"), 8, kRojo, ConjuntoEstilo(fsBold)};
    const QList<ColumnaRejilla> columnas{{QStringLiteral("A"), 60, QStringLiteral("Código")},
                                         {QStringLiteral("B"), 100, QStringLiteral("Nombre...")}};
    const QString texto = TextoConfiguracionRejilla(fuente, columnas);
    EXPECT_EQ(texto, QStringLiteral("Font=Arial|8|Rojo|fsBold\r\nCampos=A,60,Código|B,100,Nombre...|"));

    const ConfiguracionRejillaLeida leida = LeerConfiguracionRejilla(texto);
    ASSERT_TRUE(leida.fuente && leida.columnas);
    EXPECT_EQ(leida.fuente->nombre, QStringLiteral("Arial"));
    EXPECT_EQ(leida.fuente->tamano, 8);
    EXPECT_EQ(leida.fuente->color, kRojo);
    EXPECT_EQ(leida.fuente->estilos, ConjuntoEstilo(fsBold));
    ASSERT_EQ(leida.columnas->size(), 2);
    EXPECT_EQ(leida.columnas->at(1).campo, QStringLiteral("B"));
    EXPECT_EQ(leida.columnas->at(1).ancho, 100);
    EXPECT_EQ(leida.columnas->at(1).titulo, QStringLiteral("Nombre..."));
}

TEST(ConfiguracionRejilla, StylesGoInTheirFixedOrder)
{
    const FuenteRejilla fuente{QStringLiteral("Tahoma"), 10, 0,
                               ConjuntoEstilo(fsStrikeout) | ConjuntoEstilo(fsItalic) | ConjuntoEstilo(fsUnderline)};
    EXPECT_EQ(LineaFuenteRejilla(fuente), QStringLiteral("Font=Tahoma|10|Negro|fsItalic|fsUnderline|fsStrikeout"));
}

TEST(ConfiguracionRejilla, DamagedTextsAreReadAsFarAsTheyGo)
{
    struct Caso
    {
        const char *texto;
        int columnas;
        int ancho0;
        QString titulo0;
    };
    const Caso casos[] = {
        {"Campos=A,ancho,X|", 1, 50, QStringLiteral("X")},          // a width that is no number
        {"Campos=A,60,a=b|B,70,Y|", 1, 60, QStringLiteral("a")},     // "=" cuts the line
        {"Campos=A,60,X||B,70,Y|", 1, 60, QStringLiteral("X")},      // up to the first empty piece
        {"Campos=", 0, 0, QString()},
        {"Campos=A", 1, 50, QString()},
    };
    for (const Caso &c : casos) {
        const ConfiguracionRejillaLeida leida = LeerConfiguracionRejilla(QString::fromUtf8(c.texto));
        ASSERT_TRUE(leida.columnas) << c.texto;
        ASSERT_EQ(leida.columnas->size(), c.columnas) << c.texto;
        if (c.columnas > 0) {
            EXPECT_EQ(leida.columnas->at(0).ancho, c.ancho0) << c.texto;
            EXPECT_EQ(leida.columnas->at(0).titulo, c.titulo0) << c.texto;
        }
    }
    const auto fuente = LeerConfiguracionRejilla(QStringLiteral("Font=Arial|grande|Azul|fsBold|Raro||fsItalic")).fuente;
    ASSERT_TRUE(fuente);
    EXPECT_FALSE(fuente->tamano);
    EXPECT_EQ(fuente->estilos, ConjuntoEstilo(fsBold));   // unknown ignored, stops at the empty piece
    EXPECT_FALSE(LeerConfiguracionRejilla(QStringLiteral("Otra=1\r\n\r\nsin igual")).columnas);
}

TEST(ConfiguracionRejilla, ColumnsAreFittedToTheGrid)
{
    const AnchoColumna entero{64, 9, true};
    struct Caso
    {
        const char *nombre;
        QList<AnchoColumna> columnas;
        int anchoRejilla;
        bool indicador;
        QString opciones;
        std::optional<QList<int>> esperado;
    };
    const Caso casos[] = {
        {"two integer columns with the indicator", {entero, entero}, 500, true, {}, QList<int>{234, 231}},
        {"without the indicator", {entero, entero}, 500, false, {}, QList<int>{240, 237}},
        {"ColumnaInicial keeps the columns before it",
         {{200, 30, true}, entero, entero}, 500, true, QStringLiteral("ColumnaInicial:1"), QList<int>{200, 19, 246}},
        {"ColumnaInicial read only as the first option",
         {entero, entero}, 500, true, QStringLiteral("Otra:2,ColumnaInicial:1"), QList<int>{234, 231}},
        {"a hidden last column: the last visible one takes the rest",
         {entero, entero, {80, 9, false}}, 500, true, {}, QList<int>{234, 231, 80}},
        {"an empty grid", {}, 500, true, {}, std::nullopt},
        {"fitted default widths adding up to 0", {{40, 0, true}, {50, 0, true}}, 500, true, {}, std::nullopt},
        {"a first fitted column past the end", {entero}, 500, true, QStringLiteral("ColumnaInicial:5"), std::nullopt},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(AnchosAjustados(c.columnas, c.anchoRejilla, c.indicador, c.opciones), c.esperado) << c.nombre;
}

TEST(ConfiguracionRejilla, TheNeededWidthCountsVisibleColumnsAndTheIndicator)
{
    const QList<AnchoColumna> columnas{{234, 9, true}, {231, 9, true}, {80, 9, false}};
    EXPECT_EQ(AnchoNecesario(columnas, true), 234 + 1 + 231 + 1 + 12);
    EXPECT_EQ(AnchoNecesario(columnas, false), 467);
}

} // namespace
