#pragma once
#include "GENEW/reporting/graficos/GENEGRAF.h"

#include <QChart>
#include <QCoreApplication>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QImage>
#include <QLegend>
#include <QLegendMarker>
#include <QPainter>

// A chart window shown on the two texts, freed at the end of the scope.
struct VentanaGrafico
{
    TfGENEGRAF *f = plat::createForm<TfGENEGRAF>();
    VentanaGrafico(const QString &definicion, const QString &series)
    {
        f->DefinicionGrafico = definicion;
        f->SeriesGrafico = series;
        f->Show();
    }
    ~VentanaGrafico() { f->Free(); }
    VentanaGrafico(const VentanaGrafico &) = delete;
    VentanaGrafico &operator=(const VentanaGrafico &) = delete;

    QChart &chart() const { return *f->chart(); }
    // The chart laid out as it is now (the legend and the axes take their room first).
    void asentar() const
    {
        QCoreApplication::processEvents();
        chart().layout()->activate();
    }
    int marcasVisibles() const
    {
        int n = 0;
        asentar();
        for (QLegendMarker *m : chart().legend()->markers())
            n += m->isVisible();
        return n;
    }
    // The chart as its scene draws it, one pixel per unit of the chart.
    QImage imagen() const
    {
        asentar();
        QImage imagen(chart().size().toSize(), QImage::Format_ARGB32_Premultiplied);
        imagen.fill(Qt::white);
        QPainter p(&imagen);
        p.setRenderHint(QPainter::Antialiasing);
        chart().scene()->render(&p, QRectF(imagen.rect()), QRectF(chart().scenePos(), chart().size()));
        return imagen;
    }
};
