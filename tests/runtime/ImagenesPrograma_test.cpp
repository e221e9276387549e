#include "GENEW/runtime/ImagenesPrograma.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

namespace {

// Share of the picture's pixels that are painted (not transparent).
double cubierto(const QPixmap &imagen)
{
    const QImage i = imagen.toImage().convertToFormat(QImage::Format_ARGB32);
    int pintados = 0;
    for (int y = 0; y < i.height(); ++y)
        for (int x = 0; x < i.width(); ++x)
            pintados += qAlpha(i.pixel(x, y)) > 0;
    return double(pintados) / (i.width() * i.height());
}

TEST(ImagenesPrograma, CadaNombreTieneSuDibujo)
{
    struct Caso { const char *nombre; int lado; };
    const Caso casos[] = {{"INFORMACION", 48}, {"EXCLAMACION", 48}, {"INTERROGACION", 48}, {"ERROR", 48},
                          {"MANOD", 32},       {"EUROPTS", 32},     {"PTSEURO", 32},       {"DOCEON", 32},
                          {"DOCEOFF", 32}};
    QDir().mkpath("capturas");
    QList<QImage> vistas;
    for (const Caso &c : casos) {
        const QPixmap imagen = ImagenPrograma(c.nombre);
        ASSERT_FALSE(imagen.isNull()) << c.nombre;
        EXPECT_EQ(imagen.width(), c.lado) << c.nombre;
        EXPECT_EQ(imagen.height(), c.lado) << c.nombre;
        const double parte = cubierto(imagen);
        EXPECT_GT(parte, 0.1) << c.nombre;     // something is drawn
        EXPECT_LT(parte, 0.95) << c.nombre;    // on a transparent ground
        imagen.save(QString("capturas/imagen-%1.png").arg(c.nombre));
        for (const QImage &otra : vistas)
            EXPECT_NE(otra, imagen.toImage()) << c.nombre << " repeats another picture";
        vistas << imagen.toImage();
    }
    EXPECT_TRUE(ImagenPrograma("NOEXISTE").isNull());
}

} // namespace
