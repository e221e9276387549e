#include "GENEW/reporting/graficos/DefinicionGrafico.h"

#include <gtest/gtest.h>

namespace {

// Colour values compared (two names of the table may share one value).
std::vector<TColor> coloresDe(const std::vector<SerieGrafico> &series)
{
    std::vector<TColor> colores;
    for (const SerieGrafico &s : series)
        for (const PuntoGrafico &p : s.puntos)
            colores.push_back(p.color);
    return colores;
}

std::vector<TColor> colores(const QStringList &nombres)
{
    std::vector<TColor> c;
    for (const QString &n : nombres)
        c.push_back(TextoAColor(n));
    return c;
}

QString items(int n)
{
    QStringList l;
    for (int i = 1; i <= n; ++i)
        l << QStringLiteral("%1:%2:P%1:").arg(i).arg(i * 10);
    return l.join(u'/');
}

TEST(AjustesGrafico, ValoresPorDefectoYClaves)
{
    const AjustesGrafico vacio = leerAjustesGrafico(QString());
    EXPECT_TRUE(vacio.Titulo.isEmpty());
    EXPECT_TRUE(vacio.Degradado);
    EXPECT_TRUE(vacio.Vista3D);
    EXPECT_FALSE(vacio.Marcas);
    EXPECT_FALSE(vacio.Leyenda);
    EXPECT_EQ(vacio.Ancho, 200);
    EXPECT_EQ(vacio.Alto, 100);
    EXPECT_TRUE(vacio.PanelControl);
    EXPECT_TRUE(vacio.StatusBar);

    const AjustesGrafico a = leerAjustesGrafico(QStringLiteral(
        "Titulo=Ventas;ColorFondo=Ninguno;Vista3D=NO;Marcas=SI;Leyenda=SI;Medidas=450x300;PanelControl=NO;StatusBar=NO"));
    EXPECT_EQ(a.Titulo, QStringLiteral("Ventas"));
    EXPECT_FALSE(a.Degradado);
    EXPECT_FALSE(a.Vista3D);
    EXPECT_TRUE(a.Marcas);
    EXPECT_TRUE(a.Leyenda);
    EXPECT_EQ(a.Ancho, 450);
    EXPECT_EQ(a.Alto, 300);
    EXPECT_FALSE(a.PanelControl);
    EXPECT_FALSE(a.StatusBar);
    EXPECT_TRUE(leerAjustesGrafico(QStringLiteral("Vista3D=no")).Vista3D);
}

struct Medidas
{
    const char *texto;
    int ancho, alto;
};

class MedidasVentana : public ::testing::TestWithParam<Medidas>
{
};

TEST_P(MedidasVentana, CadaMedidaPorSeparado)
{
    const AjustesGrafico a = leerAjustesGrafico(QStringLiteral("Medidas=") + QString::fromLatin1(GetParam().texto));
    EXPECT_EQ(a.Ancho, GetParam().ancho);
    EXPECT_EQ(a.Alto, GetParam().alto);
}

INSTANTIATE_TEST_SUITE_P(Casos, MedidasVentana,
                         ::testing::Values(Medidas{"abc", 200, 100}, Medidas{"300x", 300, 100}, Medidas{"x250", 200, 250},
                                           Medidas{"400x300", 400, 300}, Medidas{"4.5x3", 200, 3},
                                           Medidas{"99999999x0", 10000, 100}));

TEST(SeriesGrafico, DieciochoColoresEnOrdenYSiguenEnLaSegundaSerie)
{
    const auto series = leerSeriesGrafico(QStringLiteral("Tipo=Tarta;Valores=%1\r\nTipo=Tarta;Valores=%2")
                                              .arg(items(3), items(17)));
    ASSERT_EQ(series.size(), 2u);
    const QStringList &porDefecto = coloresPorDefectoGrafico();
    ASSERT_EQ(porDefecto.size(), 18);
    QStringList esperado = porDefecto;
    esperado << QStringLiteral("Blanco") << QStringLiteral("Blanco");
    EXPECT_EQ(coloresDe(series), colores(esperado));
    EXPECT_EQ(porDefecto.first(), QStringLiteral("Rojo"));
    EXPECT_EQ(porDefecto.last(), QStringLiteral("Blanco"));
}

struct ColorSerie
{
    const char *color;
    bool tomaLosPorDefecto;
};

class ColorDeSerie : public ::testing::TestWithParam<ColorSerie>
{
};

TEST_P(ColorDeSerie, SinColorPropioLosPuntosTomanLosPorDefecto)
{
    const auto series =
        leerSeriesGrafico(QStringLiteral("Tipo=Barras;Color=%1;Valores=%2").arg(QString::fromLatin1(GetParam().color), items(2)));
    ASSERT_EQ(series.size(), 1u);
    if (GetParam().tomaLosPorDefecto)
        EXPECT_EQ(coloresDe(series), colores({QStringLiteral("Rojo"), QStringLiteral("Azul")}));
    else
        EXPECT_EQ(coloresDe(series), colores({QStringLiteral("Verde"), QStringLiteral("Verde")}));
}

INSTANTIATE_TEST_SUITE_P(Casos, ColorDeSerie,
                         ::testing::Values(ColorSerie{"Magenta", true}, ColorSerie{"Negro", true}, ColorSerie{"", true},
                                           ColorSerie{"Verde", false}));

TEST(SeriesGrafico, ColorDeItemDesconocidoEsNegroYNoGastaLosPorDefecto)
{
    const auto series = leerSeriesGrafico(QStringLiteral("Tipo=Lineas;Valores=1:5:a:Magenta/2:6:b:/3:7:c:Azul"));
    ASSERT_EQ(series.size(), 1u);
    EXPECT_EQ(series[0].puntos[0].color, 0);
    EXPECT_EQ(coloresDe(series), colores({QStringLiteral("Negro"), QStringLiteral("Rojo"), QStringLiteral("Azul")}));
}

TEST(SeriesGrafico, PuntosLeidosYSaltados)
{
    const auto series = leerSeriesGrafico(QStringLiteral(
        "Titulo=Ventas;Tipo=Puntos;Estilo=Triangulo Invertido;IncluirEnLeyenda=SI;"
        "Valores=1:1.234,5:Enero:Rojo/x:3:Malo:/2:abc:Malo:/3:7/4:-2,5:Abril:Azul/"));
    ASSERT_EQ(series.size(), 1u);
    const SerieGrafico &s = series[0];
    EXPECT_EQ(s.titulo, QStringLiteral("Ventas"));
    EXPECT_TRUE(s.enLeyenda);
    EXPECT_TRUE(s.trianguloInvertido);
    ASSERT_EQ(s.puntos.size(), 3u);
    EXPECT_EQ(s.puntos[0].posicion, 1);
    EXPECT_DOUBLE_EQ(s.puntos[0].valor, 1234.5);
    EXPECT_EQ(s.puntos[0].etiqueta, QStringLiteral("Enero"));
    EXPECT_EQ(s.puntos[1].posicion, 3);   // missing fields read as empty
    EXPECT_TRUE(s.puntos[1].etiqueta.isEmpty());
    EXPECT_DOUBLE_EQ(s.puntos[2].valor, -2.5);
}

TEST(SeriesGrafico, UnItemVacioTerminaLaListaYUnTipoDesconocidoSeSalta)
{
    const auto series = leerSeriesGrafico(QStringLiteral(
        "Tipo=Barras;Valores=1:1:a://2:2:b:\r\nTipo=Areas;Valores=1:1:a:\r\nTipo=BarrasH;Valores=1:9:z:"));
    ASSERT_EQ(series.size(), 2u);
    EXPECT_EQ(series[0].puntos.size(), 1u);
    EXPECT_EQ(series[1].tipo, TipoSerieGrafico::BarrasH);
    // Only "Puntos" series draw triangles.
    EXPECT_FALSE(leerSeriesGrafico(QStringLiteral("Tipo=Lineas;Estilo=Triangulo Invertido"))[0].trianguloInvertido);
}

TEST(SeriesGrafico, TextoComoLoEscribeLaConsolaSQL)
{
    const QString texto = QStringLiteral(
        "Titulo=Importe;Tipo=Tarta;Color=;Marcas=SI;IncluirEnLeyenda=SI;Valores=1:100:Madrid:/2:300:Otros::/\r\n");
    const auto series = leerSeriesGrafico(texto);
    ASSERT_EQ(series.size(), 1u);
    ASSERT_EQ(series[0].puntos.size(), 2u);
    EXPECT_EQ(series[0].puntos[1].etiqueta, QStringLiteral("Otros"));
    EXPECT_EQ(coloresDe(series), colores({QStringLiteral("Rojo"), QStringLiteral("Azul")}));
}

} // namespace
