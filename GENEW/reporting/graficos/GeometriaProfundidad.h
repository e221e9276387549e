#pragma once
#include <QColor>
#include <QLineF>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>

#include <vector>

// The depth of a chart in oblique projection: the front plane is the chart as it is drawn
// flat, and every shape recedes along one vector, up and to the right, so the viewer looks
// at it from the front, a little from above and from the right. Only geometry and colours:
// the faces to paint, in painting order, from the shapes of the front plane.
namespace profundidad {

// One face to fill and outline.
struct Cara
{
    QPolygonF esquinas;
    QColor relleno;
    QColor borde;
};

// The faces turned up take the light, those turned aside are in shade.
QColor colorIluminado(const QColor &base);
QColor colorSombra(const QColor &base);

// The side faces of the solid whose front is the convex outline, pulled back by `fondo`:
// only those turned to the viewer, lit when they face up.
void anadirSolido(std::vector<Cara> &caras, const QPolygonF &contorno, QPointF fondo, const QColor &color);

// A ribbon: every segment of the line pulled back by `fondo`, lit where its upper side shows.
void anadirCinta(std::vector<Cara> &caras, const QPolygonF &linea, QPointF fondo, const QColor &color);

// The rim of a pie slice: the part of its arc turned to the viewer, pulled back by `fondo`.
// Angles in degrees, clockwise from twelve o'clock, as the pie gives them.
void anadirBorde(std::vector<Cara> &caras, QPointF centro, double radio, double inicio, double arco, QPointF fondo,
                 const QColor &color);

// A circle as a polygon of `lados` sides.
QPolygonF circulo(QPointF centro, double radio, int lados);

// The walls around a plot area whose front is `frente`: the back wall (the plot area pulled
// back), the left wall and the floor that join it to the front.
struct Paredes
{
    QPolygonF fondo;
    QPolygonF izquierda;
    QPolygonF suelo;
};
Paredes paredes(const QRectF &frente, QPointF fondo);

// The room the depth takes: the front plane and everything pulled back from it.
QPolygonF caja(const QRectF &frente, QPointF fondo);

// A grid line of an axis moved onto the walls: along the back wall, and across the floor
// (a horizontal axis's line, at x = posicion) or the left wall (a vertical axis's, at y).
void anadirRejilla(std::vector<QLineF> &lineas, const QRectF &frente, QPointF fondo, double posicion,
                   Qt::Orientation eje);

} // namespace profundidad
