#pragma once
#include "projects/proyectos/PintoresGantt.h"

#include <QDateTime>
#include <QRect>
#include <QSize>
#include <QString>

namespace plat {
class Canvas;
class DataSet;
} // namespace plat

// The Gantt cells and bands of the project views as their owner-draw handlers call them:
// each asks MDProyectos for the spans it needs, afresh for every cell (a chapter cell its
// project's and its chapter's, a project cell its project's), and paints with the Gantt
// painters. Today's line is at the present moment.

// The own dates, hours and progress of the current line of a data set of LPROYECT.
LineaPlan LineaPlanDe(const plat::DataSet &lineas);

// A line of LPROYECT as its Gantt row shows it.
struct FilaCapituloGantt
{
    QString CodigoProyecto;
    QString Capitulo;
    LineaPlan Linea;   // its own dates, hours and progress

    static FilaCapituloGantt de(const plat::DataSet &lineas);
};

// A row of PROYECT as its Gantt row shows it.
struct FilaProyectoGantt
{
    QString Codigo;
    QDateTime FechaEntrega;

    static FilaProyectoGantt de(const plat::DataSet &proyectos);
};

// The project master's Gantt column and its title.
void DibujarCapituloMaestro(plat::Canvas &canvas, const QRect &celda, const FilaCapituloGantt &fila, bool verDias);
void DibujarTituloMaestro(plat::Canvas &canvas, const QRect &titulo, const QString &codigoProyecto);

// The project query's chapter grid and project grid (over the horizon Desde..Hasta).
void DibujarCapituloConsulta(plat::Canvas &canvas, const QRect &celda, const FilaCapituloGantt &fila, bool verDias);
void DibujarProyectoConsulta(plat::Canvas &canvas, const QRect &celda, const FilaProyectoGantt &fila,
                             const QDateTime &desde, const QDateTime &hasta, bool verDias);

// The Gantt listing: a chapter band (mode "Capitulos"), a project band over the report's
// dates (mode "Proyectos"), and the header's month names over a project's span or the
// report's dates.
void DibujarBandaCapitulo(plat::Canvas &canvas, const QSize &imagen, const FilaCapituloGantt &fila);
void DibujarBandaProyecto(plat::Canvas &canvas, const QSize &imagen, const FilaProyectoGantt &fila,
                          const QDateTime &desde, const QDateTime &hasta);
void DibujarCabeceraCapitulos(plat::Canvas &canvas, const QSize &imagen, const QString &codigoProyecto);
void DibujarCabeceraProyectos(plat::Canvas &canvas, const QSize &imagen, const QDateTime &desde,
                              const QDateTime &hasta);
