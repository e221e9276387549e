#include "GENEW/reporting/graficos/GeometriaProfundidad.h"

#include <QtMath>

#include <cmath>

namespace profundidad {
namespace {

double producto(QPointF a, QPointF b) { return a.x() * b.x() + a.y() * b.y(); }

// A face turned up: its outward normal within 45 degrees of straight up.
bool haciaArriba(QPointF normal) { return normal.y() < 0 && -normal.y() >= std::abs(normal.x()); }

// The face swept by a chain of the outline as it recedes.
Cara barrido(const QPolygonF &cadena, QPointF fondo, const QColor &relleno, const QColor &borde)
{
    QPolygonF esquinas = cadena;
    for (qsizetype i = cadena.size() - 1; i >= 0; --i)
        esquinas << cadena[i] + fondo;
    return {esquinas, relleno, borde};
}

// The faces swept by the outline's segments that are turned to the viewer (their outward
// side, away from `interior`, faces along `fondo`); neighbouring segments lit alike are one
// face, so a curved side shows no seams.
void anadirLados(std::vector<Cara> &caras, const QPolygonF &contorno, bool cerrado, QPointF interior, QPointF fondo,
                 const QColor &color)
{
    const qsizetype n = contorno.size();
    const qsizetype segmentos = cerrado ? n : n - 1;
    if (segmentos < 1 || producto(fondo, fondo) <= 0)
        return;
    enum class Luz { Oculto, Iluminado, Sombra };
    std::vector<Luz> luces(size_t(segmentos), Luz::Oculto);
    for (qsizetype i = 0; i < segmentos; ++i) {
        const QPointF a = contorno[i];
        const QPointF b = contorno[(i + 1) % n];
        QPointF normal(b.y() - a.y(), a.x() - b.x());
        if (producto(normal, (a + b) / 2 - interior) < 0)
            normal = -normal;
        if (producto(normal, normal) > 0 && producto(normal, fondo) > 0)
            luces[size_t(i)] = haciaArriba(normal) ? Luz::Iluminado : Luz::Sombra;
    }
    // A closed outline is walked from a segment that starts a run, so no run is cut in two.
    qsizetype inicio = 0;
    if (cerrado) {
        for (qsizetype i = 0; i < segmentos; ++i)
            if (luces[size_t(i)] != luces[size_t((i + segmentos - 1) % segmentos)]) {
                inicio = i;
                break;
            }
    }
    QPolygonF cadena;
    Luz actual = Luz::Oculto;
    const auto cerrarCadena = [&] {
        if (actual != Luz::Oculto && cadena.size() > 1)
            caras.push_back(barrido(cadena, fondo, actual == Luz::Iluminado ? colorIluminado(color) : colorSombra(color),
                                    color.darker()));
        cadena.clear();
    };
    for (qsizetype k = 0; k < segmentos; ++k) {
        const qsizetype i = (inicio + k) % segmentos;
        const Luz luz = luces[size_t(i)];
        if (luz != actual) {
            cerrarCadena();
            actual = luz;
        }
        if (luz == Luz::Oculto)
            continue;
        if (cadena.isEmpty())
            cadena << contorno[i];
        cadena << contorno[(i + 1) % n];
    }
    cerrarCadena();
}

// A point on the circle at an angle measured as a pie measures it.
QPointF puntoArco(QPointF centro, double radio, double grados)
{
    const double a = qDegreesToRadians(grados);
    return centro + QPointF(radio * std::sin(a), -radio * std::cos(a));
}

} // namespace

QColor colorIluminado(const QColor &base)
{
    const auto mezcla = [](int c) { return c + (255 - c) * 3 / 10; };
    return QColor(mezcla(base.red()), mezcla(base.green()), mezcla(base.blue()), base.alpha());
}

QColor colorSombra(const QColor &base) { return base.darker(140); }

void anadirSolido(std::vector<Cara> &caras, const QPolygonF &contorno, QPointF fondo, const QColor &color)
{
    QPolygonF puntos = contorno;
    if (puntos.size() > 1 && puntos.isClosed())
        puntos.removeLast();
    if (puntos.size() < 3)
        return;
    QPointF centro;
    for (const QPointF &p : puntos)
        centro += p;
    anadirLados(caras, puntos, true, centro / double(puntos.size()), fondo, color);
}

void anadirCinta(std::vector<Cara> &caras, const QPolygonF &linea, QPointF fondo, const QColor &color)
{
    for (qsizetype i = 0; i + 1 < linea.size(); ++i) {
        QPointF a = linea[i];
        QPointF b = linea[i + 1];
        if (b.x() < a.x())
            std::swap(a, b);
        // Seen from above the ribbon shows its upper side, unless the segment climbs more
        // steeply than the depth does.
        const QPointF tramo = b - a;
        const double giro = tramo.x() * fondo.y() - tramo.y() * fondo.x();
        if (giro == 0)
            continue;
        caras.push_back({QPolygonF{a, b, b + fondo, a + fondo}, giro < 0 ? colorIluminado(color) : colorSombra(color),
                         color.darker()});
    }
}

void anadirBorde(std::vector<Cara> &caras, QPointF centro, double radio, double inicio, double arco, QPointF fondo,
                 const QColor &color)
{
    if (!(radio > 0) || !(arco > 0))
        return;
    const int pasos = std::max(1, int(std::ceil(std::min(arco, 360.0) / 3.0)));
    QPolygonF puntos;
    for (int i = 0; i <= pasos; ++i)
        puntos << puntoArco(centro, radio, inicio + std::min(arco, 360.0) * i / pasos);
    anadirLados(caras, puntos, false, centro, fondo, color);
}

QPolygonF circulo(QPointF centro, double radio, int lados)
{
    QPolygonF puntos;
    for (int i = 0; i < lados; ++i)
        puntos << puntoArco(centro, radio, 360.0 * i / lados);
    return puntos;
}

Paredes paredes(const QRectF &frente, QPointF fondo)
{
    const QPointF arriba = frente.topLeft();
    const QPointF abajo = frente.bottomLeft();
    return {QPolygonF(frente.translated(fondo)),
            QPolygonF{arriba, arriba + fondo, abajo + fondo, abajo},
            QPolygonF{abajo, abajo + fondo, frente.bottomRight() + fondo, frente.bottomRight()}};
}

QPolygonF caja(const QRectF &frente, QPointF fondo)
{
    return QPolygonF{frente.bottomLeft(),           frente.topLeft(),
                     frente.topLeft() + fondo,      frente.topRight() + fondo,
                     frente.bottomRight() + fondo,  frente.bottomRight()};
}

void anadirRejilla(std::vector<QLineF> &lineas, const QRectF &frente, QPointF fondo, double posicion, Qt::Orientation eje)
{
    if (eje == Qt::Horizontal) {
        const QPointF suelo(posicion, frente.bottom());
        lineas.emplace_back(suelo, suelo + fondo);
        lineas.emplace_back(suelo + fondo, QPointF(posicion, frente.top()) + fondo);
    } else {
        const QPointF pared(frente.left(), posicion);
        lineas.emplace_back(pared, pared + fondo);
        lineas.emplace_back(pared + fondo, QPointF(frente.right(), posicion) + fondo);
    }
}

} // namespace profundidad
