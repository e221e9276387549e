#pragma once
#include <QString>

namespace plat {
class DataSet;
}

// The two texts the chart window reads for a statement's result: the graph definition and
// one series line (ended by CR LF) per numeric field. No widget is involved.
struct TextosGrafico
{
    QString definicion;
    QString series;
};

enum class TipoGrafico { Barras, Tarta };

// From the result's first row, up to `valores` items per series, labelled with the text of
// the result's first field; the rows after them are summed into one "Otros:" item. The
// dataset is left after the rows read.
TextosGrafico EscribirGrafico(plat::DataSet &resultado, const QString &titulo, int valores, TipoGrafico tipo);

// A label as the series text can carry it: its separators ("/", ":", ";") and line breaks
// would cut or shift the item, so they become "-", ".", "," and blanks.
QString EtiquetaGrafico(const QString &texto);
