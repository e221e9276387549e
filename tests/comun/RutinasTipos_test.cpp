#include "GENEW/runtime/comun/RutinasTipos.h"

#include <gtest/gtest.h>

namespace {

TEST(TiposCampo, NombresEnAmbosSentidos)
{
    EXPECT_EQ(NombreTipoCampo(ftSmallint), QStringLiteral("ftSmallint"));
    EXPECT_EQ(NombreTipoCampo(ftString), QStringLiteral("ftString"));
    EXPECT_EQ(NombreTipoCampo(ftTypedBinary), QStringLiteral("ftTypedBinary"));
    EXPECT_EQ(NombreTipoCampo(0), QStringLiteral("ftUnknown"));
    EXPECT_EQ(NombreTipoCampo(22), QStringLiteral("ftUnknown"));
    EXPECT_EQ(NombreTipoCampo(-1), QStringLiteral("ftUnknown"));
    for (int tipo = 1; tipo <= 21; ++tipo)
        EXPECT_EQ(TipoCampoDeNombre(NombreTipoCampo(tipo)), tipo) << tipo;
    EXPECT_EQ(TipoCampoDeNombre(QStringLiteral("ftSmallInt")), ftSmallint);
    EXPECT_EQ(TipoCampoDeNombre(QStringLiteral("ftUnknown")), ftUnknown);
    EXPECT_EQ(TipoCampoDeNombre(QStringLiteral("ftstring")), ftUnknown);
}

class CampoDePrueba : public InterfazCampo
{
public:
    CampoDePrueba(TFieldType tipo, int propio) : tipo_(tipo), propio_(propio) {}
    TFieldType tipoDato() const override { return tipo_; }
    int anchoPorDefecto() const override { return propio_; }

private:
    TFieldType tipo_;
    int propio_;
};

TEST(TiposCampo, AnchoPorDefecto)
{
    const std::pair<TFieldType, int> casos[] = {
        {ftFloat, 13}, {ftInteger, 9}, {ftSmallint, 5}, {ftDate, 10}, {ftTime, 8},
        {ftDateTime, 10}, {ftMemo, 10}, {ftString, 40}, {ftBoolean, 40}, {ftCurrency, 40},
    };
    for (const auto &[tipo, ancho] : casos)
        EXPECT_EQ(AnchoPorDefectoCampo(CampoDePrueba(tipo, 40)), ancho) << tipo;
}

TEST(Colores, TablaDeNombres)
{
    EXPECT_EQ(TextoAColor(QStringLiteral("Rojo")), 255);
    EXPECT_EQ(TextoAColor(QStringLiteral("Azul")), 255 << 16);
    EXPECT_EQ(TextoAColor(QStringLiteral("Crema")), 255 | (251 << 8) | (240 << 16));
    EXPECT_EQ(TextoAColor(QStringLiteral("gris")), 0);
    EXPECT_EQ(ColorATexto(128 | (128 << 8) | (128 << 16)), QStringLiteral("Gris Oscuro"));
    EXPECT_EQ(ColorATexto(192 | (192 << 8) | (192 << 16)), QStringLiteral("Gris Claro"));
    EXPECT_EQ(ColorATexto(0), QStringLiteral("Negro"));
    EXPECT_EQ(ColorATexto(1), QString());
    for (const char *nombre : {"Aguamarina", "Azul Celeste", "Verde Claro 2", "Gris Medio", "Purpura"})
        EXPECT_EQ(ColorATexto(TextoAColor(QString::fromUtf8(nombre))), QString::fromUtf8(nombre));
    EXPECT_EQ(InterpretarColor(QStringLiteral("Verde")), 128 << 8);
    EXPECT_EQ(InterpretarColor(QStringLiteral("12345")), 12345);
    EXPECT_EQ(InterpretarColor(QStringLiteral("Naranja")), 0);
}

TEST(EstilosFuente, NombresYConjuntos)
{
    EXPECT_EQ(EstiloFuenteATexto(ConjuntoEstilo(fsBold)), QStringLiteral("fsBold"));
    EXPECT_EQ(EstiloFuenteATexto(ConjuntoEstilo(fsStrikeout)), QStringLiteral("fsStrikeout"));
    EXPECT_EQ(EstiloFuenteATexto(ConjuntoEstilo(fsBold) | ConjuntoEstilo(fsItalic)), QString());
    EXPECT_EQ(EstiloFuenteATexto(0), QString());
    EXPECT_EQ(TextoAEstiloFuente(QStringLiteral("Negrita")), fsBold);
    EXPECT_EQ(TextoAEstiloFuente(QStringLiteral("fsItalic")), fsItalic);
    EXPECT_EQ(TextoAEstiloFuente(QStringLiteral("Subrayado")), fsUnderline);
    EXPECT_EQ(TextoAEstiloFuente(QStringLiteral("Tachado")), fsStrikeout);
    EXPECT_EQ(TextoAEstiloFuente(QStringLiteral("negrita")), 255);
}

} // namespace
