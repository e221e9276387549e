#pragma once
#include "GENEW/reporting/graficos/DefinicionGrafico.h"

#include <QColor>
#include <QFont>
#include <QPolygonF>
#include <vector>

class QChart;

// Turns read series into the chart component's series, axes and legend entries.
namespace constructorgrafico {

// The chart's fixed look: the background gradient (when asked) and the back wall colour.
void aplicarAspecto(QChart &chart, bool degradado);

// Adds the series: lines with their points shown, pies whose marks read label, percentage and
// total, bars on a category axis labelled by the point texts (the vertical axis for
// horizontal bars), points (downward triangles when asked). Each point keeps its colour.
void anadirSeries(QChart &chart, const std::vector<SerieGrafico> &series, const QFont &letraMarcas);

// Marks (values, or the pie's label texts) of every series shown or hidden.
void mostrarMarcas(QChart &chart, bool visibles);

// The legend lists the titles of the series that asked for it, never pie slices.
void mostrarLeyenda(QChart &chart, bool visible);

// The mark text of a pie slice: "Madrid 25% de 400".
QString marcaTarta(const QString &etiqueta, double valor, double total);

// The back wall's colour.
QColor colorParedFondo();

// The outline of the downward triangle that marks a point, in the marker's box.
QPolygonF contornoTrianguloInvertido(const QRectF &caja);

} // namespace constructorgrafico
