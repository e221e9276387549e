#include "GENEW/reporting/graficos/Vista3D.h"

#include "GENEW/reporting/graficos/ConstructorGrafico.h"

#include <QAbstractBarSeries>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QGraphicsObject>
#include <QPainter>
#include <QPieSeries>
#include <QPieSlice>
#include <QScatterSeries>
#include <QValueAxis>
#include <QXYSeries>

#include <algorithm>
#include <cmath>

namespace vista3d {
namespace {

using profundidad::Cara;

// The depth in pixels, kept on the chart; an axis whose grid is drawn on the walls says so.
constexpr const char *kProfundidad = "gpProfundidad3D";
constexpr const char *kRejillaEnParedes = "gpRejillaEnParedes";

// Qt Charts stacks its items by z value: plot area background 0, grid 2, axes 3, series 4.
// The walls go over the background and under the grid's place; the series' depth over the
// axes and under the series, whose front faces hide what of it lies behind them.
constexpr double kZParedes = 0.5;
constexpr double kZSeries = 3.5;

// No depth is drawn from a coordinate past this: a value far out of range would only make the
// painter work for nothing.
constexpr double kCoordenadaMaxima = 1e6;

bool valido(QPointF p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y()) && std::abs(p.x()) < kCoordenadaMaxima
        && std::abs(p.y()) < kCoordenadaMaxima;
}

// Bars, as Qt Charts lays them out: each set's share of the bar width side by side in its
// category, or the sets stacked on it (positive values upwards, negative ones downwards).
struct Bloque
{
    QRectF frente;
    QColor color;
};

void anadirBloques(QChart &chart, QAbstractBarSeries &barras, std::vector<Bloque> &bloques)
{
    const QAbstractSeries::SeriesType tipo = barras.type();
    const bool horizontales = tipo == QAbstractSeries::SeriesTypeHorizontalBar
        || tipo == QAbstractSeries::SeriesTypeHorizontalStackedBar;
    const bool apiladas = tipo == QAbstractSeries::SeriesTypeStackedBar
        || tipo == QAbstractSeries::SeriesTypeHorizontalStackedBar;
    const QList<QBarSet *> conjuntos = barras.barSets();
    const double numeroConjuntos = conjuntos.size();
    const double ancho = barras.barWidth();
    int categorias = 0;
    for (const QBarSet *c : conjuntos)
        categorias = std::max(categorias, c->count());
    const auto posicion = [&](double categoria, double valor) {
        return chart.mapToPosition(horizontales ? QPointF(valor, categoria) : QPointF(categoria, valor), &barras);
    };
    std::vector<double> positivas(size_t(categorias), 0.0), negativas(size_t(categorias), 0.0);
    for (qsizetype s = 0; s < conjuntos.size(); ++s) {
        QBarSet *conjunto = conjuntos[s];
        for (int c = 0; c < conjunto->count(); ++c) {
            const double valor = conjunto->at(c);
            if (valor == 0 || !std::isfinite(valor))
                continue;
            QPointF desde, hasta;
            if (apiladas) {
                double &suma = valor < 0 ? negativas[size_t(c)] : positivas[size_t(c)];
                desde = posicion(c - ancho / 2, suma);
                hasta = posicion(c + ancho / 2, suma + valor);
                suma += valor;
            } else {
                desde = posicion(c - ancho / 2 + s / numeroConjuntos * ancho, 0);
                hasta = posicion(c - ancho / 2 + (s + 1) / numeroConjuntos * ancho, valor);
            }
            if (valido(desde) && valido(hasta))
                bloques.push_back({QRectF(desde, hasta).normalized(), conjunto->color()});
        }
    }
}

// The pies, where Qt Charts puts them in the plot area.
void anadirTarta(const QRectF &area, QPieSeries &tarta, QPointF fondo, std::vector<Cara> &caras)
{
    const QPointF centro(area.left() + area.width() * tarta.horizontalPosition(),
                         area.top() + area.height() * tarta.verticalPosition());
    const double radio = std::min(area.width(), area.height()) / 2 * tarta.pieSize();
    for (QPieSlice *porcion : tarta.slices())
        profundidad::anadirBorde(caras, centro, radio, porcion->startAngle(), porcion->angleSpan(), fondo,
                                 porcion->color());
}

QColor colorPunto(const QXYSeries &serie, int i)
{
    const QVariant color = serie.pointConfiguration(i).value(QXYSeries::PointConfiguration::Color);
    return color.isValid() ? color.value<QColor>() : serie.color();
}

// Points are small solids of their marker's shape, shallower than the chart's depth.
void anadirPuntos(QChart &chart, QScatterSeries &puntos, QPointF fondo, std::vector<Cara> &caras)
{
    const double lado = puntos.markerSize();
    const double largo = std::hypot(fondo.x(), fondo.y());
    const QPointF fondoPunto = largo > 0 ? fondo * std::min(1.0, lado * 0.6 / largo) : fondo;
    const QList<QPointF> valores = puntos.points();
    for (int i = 0; i < valores.size(); ++i) {
        const QPointF centro = chart.mapToPosition(valores[i], &puntos);
        if (!valido(centro))
            continue;
        const QRectF marcador(centro - QPointF(lado / 2, lado / 2), QSizeF(lado, lado));
        const QPolygonF contorno = puntos.lightMarker().isNull()
            ? profundidad::circulo(centro, lado / 2, 24)
            : constructorgrafico::contornoTrianguloInvertido(marcador);
        profundidad::anadirSolido(caras, contorno, fondoPunto, colorPunto(puntos, i));
    }
}

void anadirLinea(QChart &chart, QXYSeries &linea, QPointF fondo, std::vector<Cara> &caras)
{
    QPolygonF puntos;
    for (const QPointF &p : linea.points())
        if (const QPointF posicion = chart.mapToPosition(p, &linea); valido(posicion))
            puntos << posicion;
    profundidad::anadirCinta(caras, puntos, fondo, linea.color());
}

// Where an axis draws its grid lines, as a coordinate across the plot area.
std::vector<double> posicionesRejilla(const QAbstractAxis &eje, const QRectF &area)
{
    std::vector<double> fracciones;
    if (const auto *valores = qobject_cast<const QValueAxis *>(&eje)) {
        const int marcas = valores->tickCount();
        for (int i = 0; marcas > 1 && i < marcas; ++i)
            fracciones.push_back(double(i) / (marcas - 1));
    } else if (const auto *categorias = qobject_cast<const QBarCategoryAxis *>(&eje)) {
        // Between categories, and at both ends.
        const int n = categorias->count();
        for (int i = 0; n > 0 && i <= n; ++i)
            fracciones.push_back(double(i) / n);
    }
    std::vector<double> posiciones;
    for (const double f : fracciones)
        posiciones.push_back(eje.orientation() == Qt::Horizontal ? area.left() + f * area.width()
                                                                 : area.bottom() - f * area.height());
    return posiciones;
}

// One of the two layers, painted from the chart as it is laid out when it is painted (the
// window, a printed page, a picture of another size).
class CapaProfundidad : public QGraphicsObject
{
public:
    enum class Contenido { Paredes, Series };
    enum { Type = UserType + 0x3D };

    CapaProfundidad(QChart &chart, Contenido contenido) : QGraphicsObject(&chart), chart_(chart), contenido_(contenido)
    {
        setZValue(contenido == Contenido::Paredes ? kZParedes : kZSeries);
        connect(&chart_, &QChart::plotAreaChanged, this, [this] { prepareGeometryChange(); });
        connect(&chart_, &QGraphicsWidget::geometryChanged, this, [this] { prepareGeometryChange(); });
    }

    int type() const override { return Type; }
    QRectF boundingRect() const override { return chart_.rect(); }

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override
    {
        const Dibujo d = dibujo(chart_);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        if (contenido_ == Contenido::Paredes) {
            pintar(*painter, d.paredes);
            if (const QList<QAbstractAxis *> ejes = chart_.axes(); !ejes.isEmpty()) {
                painter->setPen(ejes.first()->gridLinePen());
                for (const QLineF &l : d.rejilla)
                    painter->drawLine(l);
            }
        } else {
            QPainterPath recorte;
            recorte.addPolygon(d.recorte);
            painter->setClipPath(recorte, Qt::IntersectClip);
            pintar(*painter, d.series);
        }
        painter->restore();
    }

private:
    static void pintar(QPainter &painter, const std::vector<Cara> &caras)
    {
        for (const Cara &cara : caras) {
            painter.setPen(QPen(cara.borde, 1));
            painter.setBrush(cara.relleno);
            painter.drawPolygon(cara.esquinas);
        }
    }

    QChart &chart_;
    Contenido contenido_;
};

} // namespace

double profundidadPara(int ancho, int alto) { return std::clamp(std::round(std::min(ancho, alto) * 0.05), 4.0, 20.0); }

void aplicar(QChart &chart, double profundidad)
{
    if (activa(chart))
        return;
    chart.setProperty(kProfundidad, profundidad);
    if (!chart.axes().isEmpty()) {
        const int d = int(std::ceil(profundidad));
        chart.setMargins(chart.margins() + QMargins(0, d, d, 0));
        for (QAbstractAxis *eje : chart.axes()) {
            eje->setProperty(kRejillaEnParedes, eje->isGridLineVisible());
            eje->setGridLineVisible(false);
        }
    }
    new CapaProfundidad(chart, CapaProfundidad::Contenido::Paredes);
    new CapaProfundidad(chart, CapaProfundidad::Contenido::Series);
}

bool activa(const QChart &chart)
{
    const QList<QGraphicsItem *> hijos = chart.childItems();
    return std::any_of(hijos.begin(), hijos.end(), [](QGraphicsItem *i) { return i->type() == CapaProfundidad::Type; });
}

QPainterPath Dibujo::region() const
{
    QPainterPath region;
    region.setFillRule(Qt::WindingFill);
    for (const Cara &c : paredes)
        region.addPolygon(c.esquinas);
    QPainterPath caras;
    caras.setFillRule(Qt::WindingFill);
    for (const Cara &c : series)
        caras.addPolygon(c.esquinas);
    QPainterPath dentro;
    dentro.addPolygon(recorte);
    return region.united(caras.intersected(dentro));
}

Dibujo dibujo(QChart &chart)
{
    Dibujo d;
    const double largo = chart.property(kProfundidad).toDouble();
    const QPointF fondo(largo, -largo);
    const QRectF area = chart.plotArea();
    d.recorte = profundidad::caja(area, fondo);
    if (!(area.width() > 0 && area.height() > 0))
        return d;
    if (!chart.axes().isEmpty()) {
        // The back wall in its colour, the left wall and the floor in shades of it.
        const QColor pared = constructorgrafico::colorParedFondo();
        const profundidad::Paredes p = profundidad::paredes(area, fondo);
        d.paredes = {{p.fondo, pared, pared.darker(150)},
                     {p.izquierda, pared.darker(108), pared.darker(150)},
                     {p.suelo, pared.darker(118), pared.darker(150)}};
        for (QAbstractAxis *eje : chart.axes())
            if (eje->property(kRejillaEnParedes).toBool())
                for (const double posicion : posicionesRejilla(*eje, area))
                    profundidad::anadirRejilla(d.rejilla, area, fondo, posicion, eje->orientation());
    }
    std::vector<Bloque> bloques;
    for (QAbstractSeries *serie : chart.series()) {
        if (auto *barras = qobject_cast<QAbstractBarSeries *>(serie))
            anadirBloques(chart, *barras, bloques);
        else if (auto *tarta = qobject_cast<QPieSeries *>(serie))
            anadirTarta(area, *tarta, fondo, d.series);
        else if (auto *puntos = qobject_cast<QScatterSeries *>(serie))
            anadirPuntos(chart, *puntos, fondo, d.series);
        else if (auto *linea = qobject_cast<QXYSeries *>(serie))
            anadirLinea(chart, *linea, fondo, d.series);
    }
    // A block hides the sides of those to its left and below it: those are painted first.
    std::stable_sort(bloques.begin(), bloques.end(), [](const Bloque &a, const Bloque &b) {
        return a.frente.left() - a.frente.bottom() < b.frente.left() - b.frente.bottom();
    });
    for (const Bloque &b : bloques)
        profundidad::anadirSolido(d.series, QPolygonF(b.frente), fondo, b.color);
    return d;
}

} // namespace vista3d
