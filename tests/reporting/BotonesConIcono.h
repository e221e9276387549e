#pragma once
#include "platform/ui/Controls.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

namespace gptest {

// The picture a button shows, as an image; a null image when it shows none.
inline QImage ImagenBoton(const plat::SpeedButton &boton)
{
    const QPixmap imagen = boton.icon().pixmap(boton.iconSize());
    return imagen.isNull() ? QImage() : imagen.toImage();
}

inline bool TieneTinta(const QImage &imagen)
{
    for (int y = 0; y < imagen.height(); ++y)
        for (int x = 0; x < imagen.width(); ++x)
            if (qAlpha(imagen.pixel(x, y)) > 0)
                return true;
    return false;
}

// Every tool bar button of the panel shows a drawn picture unlike the others' and no
// caption, and still has its hint.
inline void ComprobarBotonesConIcono(const QWidget &panel)
{
    const auto botones = panel.findChildren<plat::SpeedButton *>(Qt::FindDirectChildrenOnly);
    ASSERT_FALSE(botones.isEmpty());
    QList<QImage> vistas;
    for (const plat::SpeedButton *b : botones) {
        SCOPED_TRACE(b->objectName().toStdString());
        EXPECT_TRUE(b->caption().isEmpty()) << b->caption().toStdString();
        EXPECT_FALSE(b->hint().isEmpty());
        const QImage imagen = ImagenBoton(*b);
        ASSERT_FALSE(imagen.isNull());
        EXPECT_TRUE(TieneTinta(imagen));
        EXPECT_FALSE(vistas.contains(imagen)) << "the same picture as another button";
        vistas << imagen;
    }
}

// A picture of the window in the folder GP_GUARDAR_PAGINAS names, when it names one.
inline void GuardarCaptura(QWidget &ventana, const QString &nombre)
{
    if (qEnvironmentVariableIsSet("GP_GUARDAR_PAGINAS"))
        ventana.grab().save(qEnvironmentVariable("GP_GUARDAR_PAGINAS") + u'/' + nombre + QStringLiteral(".png"));
}

} // namespace gptest
