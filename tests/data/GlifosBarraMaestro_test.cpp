// The masters' bar pictures: in colour while a button can be pressed, grey when it cannot.
#include "GENEW/data/GlifosBarraMaestro.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

namespace {

// The strongest colour among the picture's visible pixels (0: only greys).
int saturacionMaxima(const QImage &imagen)
{
    int maxima = 0;
    const QImage i = imagen.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < i.height(); ++y)
        for (int x = 0; x < i.width(); ++x)
            if (qAlpha(i.pixel(x, y)) > 64)
                maxima = qMax(maxima, QColor::fromRgba(i.pixel(x, y)).hsvSaturation());
    return maxima;
}

TEST(GlifosBarraMaestro, EachButtonInColourAndGreyWhenDisabled)
{
    using B = BotonBarraMaestro;
    const struct
    {
        B boton;
        const char *nombre;
    } botones[] = {{B::Primero, "primero"},   {B::Anterior, "anterior"}, {B::Siguiente, "siguiente"},
                   {B::Ultimo, "ultimo"},     {B::Eliminar, "eliminar"}, {B::Agregar, "agregar"},
                   {B::Salir, "salir"},       {B::Cancelar, "cancelar"}, {B::Conforme, "conforme"},
                   {B::Refrescar, "refrescar"}};
    QDir().mkpath("capturas");
    QList<QImage> vistas;
    for (const auto &b : botones) {
        const QIcon icono = GlifoBarraMaestro(b.boton);
        const QImage normal = icono.pixmap(QSize(20, 20), 1.0, QIcon::Normal).toImage();
        const QImage desactivado = icono.pixmap(QSize(20, 20), 1.0, QIcon::Disabled).toImage();
        ASSERT_EQ(normal.size(), QSize(20, 20)) << b.nombre;
        EXPECT_GT(saturacionMaxima(normal), 120) << b.nombre;
        EXPECT_LT(saturacionMaxima(desactivado), 10) << b.nombre;
        for (const QImage &otra : vistas)
            EXPECT_NE(otra, normal) << b.nombre << " repeats another picture";
        vistas << normal;
        normal.save(QStringLiteral("capturas/barra-%1.png").arg(QString::fromLatin1(b.nombre)));
        desactivado.save(QStringLiteral("capturas/barra-%1-desactivado.png").arg(QString::fromLatin1(b.nombre)));
    }
}

} // namespace
