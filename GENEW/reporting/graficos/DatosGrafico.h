#pragma once
#include <QString>
#include <QtGlobal>
#include <vector>

// A chart as read from its texts (DefinicionGrafico.h): plain data, which the chart module
// (ModuloGraficos.h) receives as it is.

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
    qint32 color = 0;               // red in the low byte, then green, then blue
    // An item with an empty value keeps its place and its label and draws nothing.
    bool conValor = true;
};

struct SerieGrafico
{
    TipoSerieGrafico tipo = TipoSerieGrafico::Lineas;
    QString titulo;
    qint32 color = 0;               // 0: the series has no colour of its own
    bool enLeyenda = false;
    bool trianguloInvertido = false;
    std::vector<PuntoGrafico> puntos;
};
