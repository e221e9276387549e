#pragma once
#include <QRect>
#include <QString>

namespace plat {
class Form;
class StringGrid;
} // namespace plat

// The name-and-value grid of the settings editor and the field viewer: a window as tall as
// its rows (20 of them when the screen is short), the value column filling the grid's width,
// names and titles drawn on the button face.

// The window's height for `filas` rows of `alturaFila` pixels and `controles` pixels besides.
int alturaRejillaClaveValor(int filas, int alturaFila, int controles);

// After a resize: the value column takes the width the name column leaves, and a visible
// window taller than `alturaCalculada` shrinks to it.
void ajustarRejillaClaveValor(plat::Form &ventana, plat::StringGrid &rejilla, int alturaCalculada);

// One cell: the title row and the name column on the button face, values on the window's
// colour; `texto` in `color`, bold when asked.
void pintarCeldaClaveValor(plat::StringGrid &rejilla, int col, int row, const QRect &rect, const QString &texto,
                           int color, bool negrita = false);
