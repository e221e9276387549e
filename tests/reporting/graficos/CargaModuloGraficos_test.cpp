#include "GENEW/reporting/graficos/CargaModuloGraficos.h"
#include "GENEW/reporting/graficos/GENEGRAF.h"
#include "platform/ui/Controls.h"
#include "tests/reporting/graficos/VentanaGrafico.h"
#include "tests/support/TempDir.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// Without the chart module beside the program the window opens, says which file it misses
// where the chart would be, and its buttons and printing do nothing.
TEST(ModuloGraficos, SinElModuloLaVentanaDiceQueFicheroFalta)
{
    gptest::TempDir vacio;
    Gancho<QString>::Instalacion directorio(ganchoDirectorioModuloGraficos(), vacio.path());
    VentanaGrafico v(QStringLiteral("Titulo=Ventas;Medidas=420x310;Leyenda=SI;Marcas=SI"),
                     QStringLiteral("Titulo=A;Tipo=Barras;Valores=1:5:x:/2:7:y:"));
    EXPECT_EQ(v.f->Chart1, nullptr);
    EXPECT_EQ(v.f->chart(), nullptr);
    ASSERT_NE(v.f->LabelSinGraficos, nullptr);
    EXPECT_TRUE(v.f->LabelSinGraficos->isVisible());
    EXPECT_EQ(v.f->LabelSinGraficos->caption(),
              QStringLiteral("No se encuentra el módulo de gráficos: ") + vacio.file(QStringLiteral("libgp_graficos.so")));
    EXPECT_EQ(v.f->LabelTitulo->caption(), QStringLiteral("Ventas"));
    EXPECT_EQ(v.f->width(), 420);

    v.f->pbLeyenda->click();
    v.f->pbMarcas->click();
    QImage pagina(420, 300, QImage::Format_ARGB32_Premultiplied);
    pagina.fill(Qt::white);
    v.f->imprimirEn(pagina);
    // The title is printed all the same, and nothing under it.
    const auto tinta = [&](int desde, int hasta) {
        int n = 0;
        for (int y = desde; y < hasta; ++y)
            for (int x = 0; x < pagina.width(); ++x)
                n += pagina.pixel(x, y) != qRgb(255, 255, 255);
        return n;
    };
    EXPECT_GT(tinta(0, 40), 0);
    EXPECT_EQ(tinta(60, pagina.height()), 0);
}

} // namespace
