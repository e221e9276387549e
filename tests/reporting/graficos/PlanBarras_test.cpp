#include "GENEW/reporting/graficos/PlanBarras.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Resultado = PlanBarras::Resultado;

PeticionBarras peticion(TBarCodeType tipo, const QString &texto, int ancho, int resolucion = 96)
{
    PeticionBarras p;
    p.tipo = tipo;
    p.texto = texto;
    p.limitesControl = QRect(0, 0, ancho, 60);
    p.resolucionX = p.resolucionY = resolucion;
    p.pixelesPantalla = 96;
    return p;
}

struct Modulos
{
    const char *nombre;
    TBarCodeType tipo;
    const char *texto;
    int ancho;
    bool clearZone;
    int esperadoAncho, esperadoEstrecho;
};

class EleccionModulos : public ::testing::TestWithParam<Modulos>
{
};

TEST_P(EleccionModulos, ParAnchoEstrecho)
{
    const Modulos &m = GetParam();
    PeticionBarras p = peticion(m.tipo, QString::fromLatin1(m.texto), m.ancho);
    p.clearZone = m.clearZone;
    const PlanBarras plan = planificarBarras(p);
    ASSERT_EQ(plan.resultado, Resultado::Dibujo);
    EXPECT_EQ(plan.ancho, m.esperadoAncho);
    EXPECT_EQ(plan.estrecho, m.esperadoEstrecho);
    // The bars stay inside the working width.
    const auto ultimaBarra = std::find_if(plan.elementos.rbegin(), plan.elementos.rend(), [](const auto &e) { return e.barra; });
    ASSERT_NE(ultimaBarra, plan.elementos.rend());
    EXPECT_LE(ultimaBarra->rect.right(), m.ancho - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, EleccionModulos,
    ::testing::Values(
        Modulos{"code39_ABC_en_200_con_zona", TBarCodeType::Code39, "ABC", 200, true, 6, 2},
        Modulos{"code39_ABC_sin_zona_700_mantiene_24_9", TBarCodeType::Code39, "ABC", 700, false, 24, 9},
        Modulos{"code39_ABC_sin_zona_900_crece_a_8_3", TBarCodeType::Code39, "ABC", 900, false, 8, 3},
        Modulos{"code39_ninguno_cabe_2_1", TBarCodeType::Code39, "ABCDEFGHIJ", 180, true, 2, 1},
        Modulos{"i2de5_sin_zona_700_mantiene_24_9", TBarCodeType::Interleaved2Of5, "1234567", 700, false, 24, 9},
        Modulos{"i2de5_con_zona_en_300", TBarCodeType::Interleaved2Of5, "1234567", 300, true, 8, 3},
        Modulos{"i2de5_ancho_3_lleva_zona_20", TBarCodeType::Interleaved2Of5, "12345678", 95, true, 2, 1},
        Modulos{"i2de5_ancho_3_sin_zona", TBarCodeType::Interleaved2Of5, "12345678", 95, false, 3, 1}),
    [](const auto &info) { return std::string(info.param.nombre); });

struct Codificacion
{
    const char *nombre;
    TBarCodeType tipo;
    const char *texto;
    const char *codificado;   // empty: does not fit
};

class TextoCodificado : public ::testing::TestWithParam<Codificacion>
{
};

TEST_P(TextoCodificado, RellenoYDigitosDeControl)
{
    const Codificacion &c = GetParam();
    const PlanBarras plan = planificarBarras(peticion(c.tipo, QString::fromLatin1(c.texto), 700));
    if (*c.codificado == 0) {
        EXPECT_EQ(plan.resultado, Resultado::NoCabe);
        return;
    }
    ASSERT_EQ(plan.resultado, Resultado::Dibujo);
    EXPECT_EQ(plan.textoCodificado.toStdString(), c.codificado);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, TextoCodificado,
    ::testing::Values(
        Codificacion{"i2de5_impar_lleva_cero", TBarCodeType::Interleaved2Of5, "123", "0123"},
        Codificacion{"i2de5_solo_cifras", TBarCodeType::Interleaved2Of5, "12A4", ""},
        Codificacion{"itf14_de_12_control_y_cero", TBarCodeType::ITF14, "123456789012", "01234567890128"},
        Codificacion{"itf14_de_13_solo_cero", TBarCodeType::ITF14, "1234567890128", "01234567890128"},
        Codificacion{"itf14_de_11_no_cabe", TBarCodeType::ITF14, "12345678901", ""},
        Codificacion{"ean13_suma_89_control_1", TBarCodeType::EAN13, "400638133393", "4006381333931"},
        Codificacion{"ean13_de_13_tal_cual", TBarCodeType::EAN13, "4006381333930", "4006381333930"},
        Codificacion{"ean13_de_11_no_cabe", TBarCodeType::EAN13, "40063813339", ""},
        Codificacion{"ean8_de_7_con_control", TBarCodeType::EAN8, "1234567", "12345670"},
        Codificacion{"ean_la_longitud_decide", TBarCodeType::EAN8, "590123412345", "5901234123457"},
        Codificacion{"ean_con_letra_no_cabe", TBarCodeType::EAN13, "59012341234X", ""},
        Codificacion{"postnet_5_con_control", TBarCodeType::PostNet, "12345", "123455"},
        Codificacion{"postnet_10_es_de_9_y_ya_tiene_control", TBarCodeType::PostNet, "1234567890", "1234567890"},
        Codificacion{"postnet_11_es_de_11_con_control", TBarCodeType::PostNet, "12345678901", "123456789014"},
        Codificacion{"postnet_12_conserva_su_control", TBarCodeType::PostNet, "123456789014", "123456789014"},
        Codificacion{"postnet_6_es_de_9_con_control", TBarCodeType::PostNet, "123456", "1234569"},
        Codificacion{"code39_minusculas_no", TBarCodeType::Code39, "abc", ""},
        Codificacion{"code39_asterisco_no", TBarCodeType::Code39, "A*B", ""},
        Codificacion{"code39_demasiado_largo", TBarCodeType::Code39, "ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZ", ""},
        Codificacion{"code128_por_encima_de_127", TBarCodeType::Code128, "\xf1", ""}),
    [](const auto &info) { return std::string(info.param.nombre); });

TEST(PlanBarras, TextoVacioNoDibujaNadaSalvoLasMarcasFIM)
{
    for (int t = 0; t < kNumeroTiposCodigoBarras; ++t) {
        const auto tipo = TBarCodeType(t);
        const PlanBarras plan = planificarBarras(peticion(tipo, QString(), 300));
        const bool fim = tipo == TBarCodeType::FIMA || tipo == TBarCodeType::FIMB || tipo == TBarCodeType::FIMC;
        EXPECT_EQ(plan.resultado, fim ? Resultado::Dibujo : Resultado::Nada) << "type " << t;
    }
}

struct TamanoPropio
{
    const char *nombre;
    TBarCodeType tipo;
    const char *texto;
    int resolucion;
    QSize tamano;
};

class TamanoLienzoPropio : public ::testing::TestWithParam<TamanoPropio>
{
};

TEST_P(TamanoLienzoPropio, ElControlTomaElTamanoDelSimbolo)
{
    const TamanoPropio &c = GetParam();
    PeticionBarras p = peticion(c.tipo, QString::fromLatin1(c.texto), 300, c.resolucion);
    p.pixelesPantalla = c.resolucion;
    p.lienzoPropio = true;
    const PlanBarras plan = planificarBarras(p);
    ASSERT_TRUE(plan.tamanoControl.has_value());
    EXPECT_EQ(*plan.tamanoControl, c.tamano);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, TamanoLienzoPropio,
    ::testing::Values(TamanoPropio{"ean13_a_96", TBarCodeType::EAN13, "590123412345", 96, QSize(113, 66)},
                      TamanoPropio{"ean13_a_300", TBarCodeType::EAN13, "590123412345", 300, QSize(452, 264)},
                      TamanoPropio{"ean8_a_300", TBarCodeType::EAN8, "1234567", 300, QSize(324, 264)},
                      TamanoPropio{"code128_a_96", TBarCodeType::Code128, "12345678", 96, QSize(396, 128)},
                      TamanoPropio{"ean128_con_fnc1", TBarCodeType::EAN128, "0112345678901231", 96, QSize(616, 128)},
                      TamanoPropio{"postnet_a_96", TBarCodeType::PostNet, "12345", 96, QSize(132, 60)},
                      TamanoPropio{"fim_a_96", TBarCodeType::FIMA, "", 96, QSize(53, 60)}),
    [](const auto &info) { return std::string(info.param.nombre); });

TEST(PlanBarras, OrigenEnOtroLienzo)
{
    PeticionBarras p = peticion(TBarCodeType::Code39, QStringLiteral("ABC"), 200, 300);
    p.limitesControl = QRect(96, 48, 200, 60);
    EXPECT_EQ(planificarBarras(p).origen, QPoint(96, 48));
    p.autoPosition = true;
    const PlanBarras plan = planificarBarras(p);
    EXPECT_EQ(plan.origen, QPoint(300, 150));
    EXPECT_EQ(plan.trabajo, QSize(625, 187));   // Code 39 sizes from the resolution too
    p.tipo = TBarCodeType::FIMC;
    p.derechaRecorte = 2480;
    const int barra = (300 + 16) / 32;
    EXPECT_EQ(planificarBarras(p).origen, QPoint(2480 - 600 - 18 * barra - 2, 1));
}

TEST(PlanBarras, EANSinAjusteToma113ModulosDelAnchoYNoCabeConModuloCero)
{
    PeticionBarras p = peticion(TBarCodeType::EAN13, QStringLiteral("590123412345"), 339);
    p.autoSizing = false;
    PlanBarras plan = planificarBarras(p);
    EXPECT_EQ(plan.modulo, 3);
    ASSERT_FALSE(plan.elementos.empty());
    EXPECT_EQ(plan.elementos.front().rect.height(), 60 - 36 + 15);   // guard bar: 5 modules longer
    p.limitesControl.setWidth(112);
    EXPECT_EQ(planificarBarras(p).resultado, Resultado::NoCabe);
}

TEST(PlanBarras, Code128ModuloDeUnMilimetroYAumento)
{
    PeticionBarras p = peticion(TBarCodeType::Code128, QStringLiteral("12345678"), 300, 300);
    EXPECT_EQ(planificarBarras(p).modulo, 12);
    p.magnification = 0.5;
    EXPECT_EQ(planificarBarras(p).modulo, 6);   // 5.9055 rounds to 6
    p.magnification = 0.2;
    EXPECT_EQ(planificarBarras(p).modulo, 2);
    EXPECT_EQ(planificarBarras(p).elementos.front().rect.height(), 64);
    p.tipo = TBarCodeType::EAN128;   // at least 20 millimetres high
    EXPECT_EQ(planificarBarras(p).elementos.front().rect.height(), 236);
}

TEST(TextoDeCampo, RellenoConCerosSegunElTipo)
{
    EXPECT_EQ(textoDeCampoBarras(QStringLiteral("12345"), TBarCodeType::EAN13), QStringLiteral("000000012345"));
    EXPECT_EQ(textoDeCampoBarras(QStringLiteral("12345"), TBarCodeType::ITF14), QStringLiteral("000000012345"));
    EXPECT_EQ(textoDeCampoBarras(QStringLiteral("12345"), TBarCodeType::EAN8), QStringLiteral("0012345"));
    EXPECT_EQ(textoDeCampoBarras(QStringLiteral("12345"), TBarCodeType::EAN), QStringLiteral("12345"));
    EXPECT_EQ(textoDeCampoBarras(QStringLiteral("1234567890123"), TBarCodeType::EAN13), QStringLiteral("1234567890123"));
}

} // namespace

namespace {

TEST(PlanBarras, BarrasPortadorasDelFinDelRellenoAlFinDeLaParadaArribaYAbajo)
{
    const PlanBarras plan = planificarBarras(peticion(TBarCodeType::ITF14, QStringLiteral("123456789012"), 500));
    ASSERT_EQ(plan.resultado, Resultado::Dibujo);
    ASSERT_EQ(plan.barrasPortadoras.size(), 2u);
    const auto primeraBarra = std::find_if(plan.elementos.begin(), plan.elementos.end(), [](const auto &e) { return e.barra; });
    const auto ultimaBarra = std::find_if(plan.elementos.rbegin(), plan.elementos.rend(), [](const auto &e) { return e.barra; });
    for (const QRect &r : plan.barrasPortadoras) {
        EXPECT_EQ(r.left(), primeraBarra->rect.left());
        EXPECT_EQ(r.right(), ultimaBarra->rect.right());
        EXPECT_EQ(r.height(), 2 * plan.estrecho);
    }
    EXPECT_EQ(plan.barrasPortadoras[0].top(), 0);
    EXPECT_EQ(plan.barrasPortadoras[1].bottom(), 59);
}

} // namespace
