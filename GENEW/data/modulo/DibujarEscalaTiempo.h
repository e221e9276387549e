#pragma once
#include <QDateTime>
#include <QRect>
#include <QString>
#include <functional>

namespace plat {
class Canvas;
}

// Time scales of the Gantt views. Dates become day numbers for the arithmetic: days since
// 30/12/1899 with the time of day as a fraction, 0 for no date, so that spans, differences
// and positions are plain subtractions and divisions.

double NumeroDia(const QDateTime &fecha);
QDateTime FechaDeNumeroDia(double dia);

// A computed pixel position as a whole number: halves to the even neighbour, after the
// value is held within +-1,000,000 pixels so that a far date never overflows.
int PosicionPixel(double valor);

// The position of every day from `desde` to `hasta`; days closer than a pixel share one.
void RecorrerDias(double desde, double hasta, const std::function<int(double dia)> &posicion,
                  const std::function<void(int px)> &marcar);
// The Monday on or after the day (ISO numbering).
double PrimerLunes(double dia);
// The first of every month from the day (itself when it is a 1st) up to `hasta`, with the
// month's number.
void RecorrerMeses(double desde, double hasta, const std::function<void(double dia, int mes)> &visitar);

// Where a month's name starts: 2 pixels after the month's line at x, moved back as far as it
// must for the whole name to end inside the rectangle (never before its left edge), since a
// name cut at the edge ("Di") reads as another word.
int IzquierdaNombreMes(int x, int anchoNombre, const QRect &rectangulo);

// The scale of the days S0..S1 over the rectangle (its edges L, T, L + width, T + height),
// x(d) = (d - S0) x W / D with D = S1 - S0 + 1 and W the width. The options are tested as
// substrings: "Dias" (a silver tick per day halfway down), "Semanas" (a silver line per
// Monday), "Meses" (per first of a month: a black line unless "Cabecera Meses", the month's
// three letters at (IzquierdaNombreMes, 2) on silver unless "Linea Meses"), "Hoy" (a fuchsia line at
// `ahora`). A span of no days (D <= 0) draws nothing. After "Hoy" the pen is silver and the
// brush white.
void DibujarEscalaTiempo(plat::Canvas &canvas, const QRect &rectangulo, double s0, double s1,
                         const QString &opciones, double ahora);
