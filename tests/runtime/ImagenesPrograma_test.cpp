#include "GENEW/runtime/ImagenesPrograma.h"

#include <QDir>
#include <QImage>
#include <QPainter>
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

TEST(ImagenesPrograma, ElIconoDaLaMismaImagenAlPedirla)
{
    for (const char *nombre : {"EUROPTS", "PTSEURO", "INFORMACION"}) {
        const QPixmap imagen = ImagenPrograma(nombre);
        const QIcon icono = IconoPrograma(nombre);
        const QIcon directo(imagen);
        ASSERT_FALSE(icono.isNull()) << nombre;
        EXPECT_EQ(icono.actualSize(QSize(64, 64)), imagen.size()) << nombre;
        EXPECT_EQ(icono.pixmap(imagen.size()).toImage(), imagen.toImage()) << nombre;
        // Smaller sizes and other modes come out as the plain icon of the picture gives them.
        EXPECT_EQ(icono.pixmap(16).toImage(), directo.pixmap(16).toImage()) << nombre;
        EXPECT_EQ(icono.pixmap(16, QIcon::Disabled).toImage(), directo.pixmap(16, QIcon::Disabled).toImage()) << nombre;
        QImage pintada(imagen.size(), QImage::Format_ARGB32_Premultiplied);
        pintada.fill(Qt::transparent);
        {
            QPainter p(&pintada);
            icono.paint(&p, pintada.rect());
        }
        EXPECT_EQ(pintada, imagen.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied)) << nombre;
        // A copy of the icon shows the same picture.
        const QIcon copia = icono;
        EXPECT_EQ(copia.pixmap(imagen.size()).toImage(), imagen.toImage()) << nombre;
    }
    EXPECT_TRUE(IconoPrograma("NOEXISTE").isNull());
}

} // namespace
