#pragma once
#include "GENEW/reporting/graficos/DatosGrafico.h"
#include "GENEW/runtime/comun/RutinasTipos.h"

#include <QString>
#include <QStringList>
#include <vector>

// The two texts a chart is drawn from: the definition ("Name=Value" settings separated by
// ";") and the series (one line per series, each with its own ";"-separated settings and its
// points in "Valores"). Reading them needs no window, so they are tested and fuzzed alone.

// The colours given in turn to points that have none, "Rojo" first and "Blanco" last.
const QStringList &coloresPorDefectoGrafico();

// A ";"-separated settings text as Name=Value lines.
QStringList lineasDeAjustes(const QString &texto);

AjustesGrafico leerAjustesGrafico(const QString &definicion);

// Every series line whose "Tipo" is one of the five, in order. Points without a colour take
// the series colour, else the next default colour; that sequence runs on across the series
// of one reading. Items whose position or value is not a number are left out; an item
// whose value is empty is read as a point without value (conValor false).
std::vector<SerieGrafico> leerSeriesGrafico(const QString &series);
