#include "GENEW/reporting/graficos/Simbologias.h"

#include <gtest/gtest.h>

using namespace simbologias;

namespace {

struct ValoresCode128
{
    const char *nombre;
    QString texto;
    bool fnc1;
    std::vector<int> valores;   // check value included
};

class Code128Valores : public ::testing::TestWithParam<ValoresCode128>
{
};

TEST_P(Code128Valores, InicioCambiosShiftYControl)
{
    const auto &c = GetParam();
    const auto v = valoresCode128(c.texto, c.fnc1);
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(*v, c.valores);
}

INSTANTIATE_TEST_SUITE_P(
    Textos, Code128Valores,
    ::testing::Values(
        ValoresCode128{"cuatro_cifras_empiezan_en_C", "12345678", false, {105, 12, 34, 56, 78, 47}},
        ValoresCode128{"letras_en_B_y_cifras_en_C", "Hello123456", false, {104, 40, 69, 76, 76, 79, 99, 12, 34, 56, 88}},
        ValoresCode128{"cifra_suelta_tras_C_pasa_a_B", "12345", false, {105, 12, 34, 100, 21, 54}},
        ValoresCode128{"tres_cifras_no_cambian_a_C", "AB123", false, {104, 33, 34, 17, 18, 19, 11}},
        ValoresCode128{"B_cambia_a_C_ante_cuatro_cifras", "AB1234", false, {104, 33, 34, 99, 12, 34, 102}},
        ValoresCode128{"control_antes_de_minuscula_empieza_en_A", QStringLiteral("AB\x01" "cd"), false,
                       {103, 33, 34, 65, 100, 67, 68, 100}},
        ValoresCode128{"control_suelto_en_B_con_SHIFT", QStringLiteral("ab\x01" "cd"), false, {104, 65, 66, 98, 65, 67, 68, 53}},
        ValoresCode128{"minuscula_suelta_en_A_con_SHIFT", QStringLiteral("A\x01" "b\x02"), false, {103, 33, 65, 98, 66, 66, 21}},
        ValoresCode128{"GS1_lleva_FNC1", "0112345678901231", true, {105, 102, 1, 12, 34, 56, 78, 90, 12, 31, 74}}),
    [](const auto &info) { return std::string(info.param.nombre); });

TEST(Code128, UnCaracterPorEncimaDe127NoSeCodifica)
{
    EXPECT_FALSE(valoresCode128(QStringLiteral("año"), false).has_value());
    EXPECT_TRUE(valoresCode128(QStringLiteral("a\x7f"), false).has_value());
}

TEST(Code128, CadaPatronOcupaOnceModulosYElFinTrece)
{
    for (int v = 0; v < Code128Stop; ++v) {
        int suma = 0;
        for (QChar c : patronCode128(v))
            suma += c.unicode() - u'0';
        EXPECT_EQ(suma, 11) << "value " << v;
    }
    EXPECT_EQ(patronCode128(Code128Stop), QStringLiteral("2331112"));
}

TEST(EAN, ModulosDeGuardasYMitades)
{
    const QString trece = modulosEAN(QStringLiteral("5901234123457"));
    ASSERT_EQ(trece.size(), 95);
    EXPECT_TRUE(trece.startsWith(QStringLiteral("101")));
    EXPECT_EQ(trece.mid(45, 5), QStringLiteral("01010"));
    EXPECT_TRUE(trece.endsWith(QStringLiteral("101")));
    // First digit 5: the left half takes sets A B B A A B, so "9" in set A, "0" in set B.
    EXPECT_EQ(trece.mid(3, 7), QStringLiteral("0001011"));
    EXPECT_EQ(trece.mid(10, 7), QStringLiteral("0100111"));
    EXPECT_EQ(modulosEAN(QStringLiteral("12345670")).size(), 67);
    EXPECT_TRUE(modulosEAN(QStringLiteral("123")).isEmpty());
}

} // namespace
