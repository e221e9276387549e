#pragma once
#include "GENEW/runtime/comun/RutinasTipos.h"

#include <QString>
#include <QStringList>
#include <vector>

// The two texts a chart is drawn from: the definition ("Name=Value" settings separated by
// ";") and the series (one line per series, each with its own ";"-separated settings and its
// points in "Valores"). Reading them needs no window, so they are tested and fuzzed alone.

struct AjustesGrafico
{
    QString Titulo;
    bool Degradado = true;      // "ColorFondo" other than "Ninguno"
    bool Vista3D = true;        // "Vista3D" other than "NO"
    bool Marcas = false;
    bool Leyenda = false;
    int Ancho = 200;
    int Alto = 100;
    bool PanelControl = true;
    bool StatusBar = true;
};

enum class TipoSerieGrafico { Lineas, Tarta, Barras, Puntos, BarrasH };

struct PuntoGrafico
{
    int posicion = 0;
    double valor = 0;
    QString etiqueta;
    TColor color = 0;
};

struct SerieGrafico
{
    TipoSerieGrafico tipo = TipoSerieGrafico::Lineas;
    QString titulo;
    TColor color = 0;               // 0: the series has no colour of its own
    bool enLeyenda = false;
    bool trianguloInvertido = false;
    std::vector<PuntoGrafico> puntos;
};

// The colours given in turn to points that have none, "Rojo" first and "Blanco" last.
const QStringList &coloresPorDefectoGrafico();

// A ";"-separated settings text as Name=Value lines.
QStringList lineasDeAjustes(const QString &texto);

AjustesGrafico leerAjustesGrafico(const QString &definicion);

// Every series line whose "Tipo" is one of the five, in order. Points without a colour take
// the series colour, else the next default colour; that sequence runs on across the series
// of one reading. Items whose position or value is not a number are left out.
std::vector<SerieGrafico> leerSeriesGrafico(const QString &series);
