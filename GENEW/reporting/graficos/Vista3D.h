#pragma once
#include "GENEW/reporting/graficos/GeometriaProfundidad.h"

#include <QPainterPath>

#include <vector>

class QChart;

// The 3-D view of a chart. Qt Charts draws flat; the depth is drawn by two layers of the
// chart's own scene, under the flat drawing and from the geometry Qt Charts laid out: the
// walls with the grid behind everything, and the depth of the series (blocks of the bars,
// rims of the pies, ribbons of the lines, small solids of the points) under the series'
// front faces. Marks, legend, axes and the background gradient stay as Qt Charts draws them,
// and whatever renders the scene (the window, printing, a picture of it) shows the depth.
namespace vista3d {

// The depth in pixels of a chart window of that size.
double profundidadPara(int ancho, int alto);

// Turns the chart's 3-D view on, once its series and axes are in place: room for the depth
// above and to the right of the plot area (where there are axes), each axis's grid moved
// onto the walls, and the two layers added.
void aplicar(QChart &chart, double profundidad);

// Whether the chart shows its 3-D view.
bool activa(const QChart &chart);

// What the depth draws on the chart as it is laid out now, in the chart's coordinates.
struct Dibujo
{
    std::vector<profundidad::Cara> paredes;   // back wall, left wall, floor; none without axes
    std::vector<QLineF> rejilla;
    std::vector<profundidad::Cara> series;    // in painting order
    QPolygonF recorte;                        // the series' depth is drawn inside it

    // Where the depth paints.
    QPainterPath region() const;
};
Dibujo dibujo(QChart &chart);

} // namespace vista3d
