#pragma once
#include "GENEW/reporting/graficos/DatosGrafico.h"

#include <QColor>
#include <QFont>
#include <QPolygonF>
#include <vector>

class QChart;

// Turns read series into the chart component's series, axes and legend entries. Built into the
// chart module (ModuloGraficos.h): it reaches nothing of the program, whose decimal separator
// it is given (the program's own default when it is not).
namespace constructorgrafico {

// The chart's fixed look: the background gradient (when asked) and the back wall colour.
void aplicarAspecto(QChart &chart, bool degradado);

// Adds the series: lines with their points shown, pies whose marks read label, percentage and
// total, bars on a category axis labelled by the point texts (the vertical axis for
// horizontal bars), points (downward triangles when asked). Each point keeps its colour.
void anadirSeries(QChart &chart, const std::vector<SerieGrafico> &series, const QFont &letraMarcas,
                  QChar separadorDecimal = QLatin1Char(','));

// Marks (values, or the pie's label texts) of every series shown or hidden.
void mostrarMarcas(QChart &chart, bool visibles);

// The legend lists the titles of the series that asked for it, never pie slices.
void mostrarLeyenda(QChart &chart, bool visible);

// The mark text of a pie slice: "Madrid 25% de 400", the percentage rounded to two decimals
// (halves away from zero).
QString marcaTarta(const QString &etiqueta, double valor, double total, QChar separadorDecimal = QLatin1Char(','));

// The back wall's colour.
QColor colorParedFondo();

// The outline of the downward triangle that marks a point, in the marker's box.
QPolygonF contornoTrianguloInvertido(const QRectF &caja);

} // namespace constructorgrafico
