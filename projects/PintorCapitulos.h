#pragma once
#include "projects/PlanProyecto.h"

#include <QRect>
#include <QString>

namespace plat {
class Canvas;
}

// The project master's chapter grid: how one cell of a chapter line is painted, from what
// the line holds and its chapter's figures. Heading lines are bold; progress, chapter
// depth and the chapter's own dates and hours have their looks.

// What a chapter line shows besides its cells' own texts.
struct FilaCapitulos
{
    LineaPlan Linea;                  // the line's own dates, hours and progress
    QString FechaInicioCapitulo;      // the chapter's span and hours as shown
    QString FechaFinalCapitulo;
    QString TiempoPrevistoCapitulo;
    // The line being edited or inserted: its dates and hours show as typed, since its
    // chapter's figures are those of the stored lines.
    bool Editada = false;
};

// Text colour of a progress text in the chapter grid, by the Gantt painter's text
// comparisons ("Terminado" red, not below "50" fuchsia, above "00" blue), else black.
int ColorTextoAvance(const QString &gradoAvance);
// The blanks a chapter number is indented by: two per "." from two "." on.
QString SangriaCapitulo(const QString &capitulo);

// Paints the cell of the field over the brush and font colour the canvas holds (the
// grid's cell look); `texto` is the cell's own display text. Answers false for the
// fields whose cell is not painted.
bool PintarCeldaCapitulos(plat::Canvas &canvas, const QRect &celda, const QString &campo, const QString &texto,
                          const FilaCapitulos &fila);
