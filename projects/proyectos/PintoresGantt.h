#pragma once
#include "projects/proyectos/PlanProyecto.h"

#include <QRect>
#include <QString>

namespace plat {
class Canvas;
}

// The Gantt painters of the project views: the project master's chapter rows, the project
// query's chapter and project rows, and the Gantt listing's bands and header. They draw
// from the spans they are given (day numbers, GENEW/data/DibujarEscalaTiempo.h) and read
// nothing; `ahora` places the today line. Grid painters draw inside their cell only.

// The days S0..S1 over W pixels: x(d) = W x (d - S0) / D, D = S1 - S0 + 1.
struct EscalaGantt
{
    double S0 = 0;
    double S1 = 0;
    int W = 0;

    static EscalaGantt de(const PlanProyecto &plan, int ancho);
    double D() const { return S1 - S0 + 1; }
    bool tieneDias() const { return D() > 0; }
    int x(double dia) const;
    // A bar over the days a..b covers x(a) to x(b + 1).
    int finBarra(double dia) const { return x(dia + 1); }
};

// Progress colours: of a chapter by its text (byte order: "Terminado" red, not below "50"
// fuchsia, above "00" blue, else green); of a project by achieved / planned hours.
int ColorAvanceCapitulo(const QString &gradoAvance);
int ColorAvanceProyecto(double previsto, double realizado);

// A heading line has no start, no end and no planned hours; its text columns are bold.
bool EsLineaTitulo(const LineaPlan &linea);
void PrepararFuenteLinea(plat::Canvas &canvas, const LineaPlan &linea);

// A chapter row's own line and its chapter's span.
struct CapituloGantt
{
    LineaPlan Linea;
    PlanProyecto Capitulo;
};

// A project row's plan and delivery date (day number, 0 = none).
struct ProyectoGantt
{
    PlanProyecto Plan;
    double FechaEntrega = 0;
};

// The project master's Gantt column: the chapter's bar and the inline scale over the
// project's span (day ticks when `verDias`, Monday lines, month lines, today).
void PintarCapituloMaestro(plat::Canvas &canvas, const QRect &celda, const PlanProyecto &proyecto,
                           const CapituloGantt &capitulo, bool verDias, double ahora);
// Its title: the three-letter month names over the project's span.
void PintarTituloMaestro(plat::Canvas &canvas, const QRect &titulo, const PlanProyecto &proyecto);

// The project query's grids: a chapter row over its project's span, a project row over the
// horizon Desde..Hasta, and the other columns as their edit text.
void PintarCapituloConsulta(plat::Canvas &canvas, const QRect &celda, const PlanProyecto &proyecto,
                            const CapituloGantt &capitulo, bool verDias, double ahora);
void PintarProyectoConsulta(plat::Canvas &canvas, const QRect &celda, double desde, double hasta,
                            const ProyectoGantt &proyecto, bool verDias, double ahora);
void PintarTextoConsulta(plat::Canvas &canvas, const QRect &celda, const QString &textoEdicion);

// What a band of the Gantt listing shows besides its picture.
struct BandaGantt
{
    QString Etiqueta;
    bool Negrita = false;
    int Alto = 15;
    int ArribaEtiqueta = 0;

    static BandaGantt deCapitulo(const QString &descripcionAbreviada, const LineaPlan &linea);
    static BandaGantt deProyecto(const QString &codigo, const QString &nombreCliente);
};

// The Gantt listing's pictures, drawn from (0, 0) over a picture of the given size: a
// chapter band over its project's span, a project band over the report's dates, and the
// header's month names.
void PintarBandaCapitulo(plat::Canvas &canvas, const QSize &imagen, const PlanProyecto &proyecto,
                         const CapituloGantt &capitulo, double ahora);
void PintarBandaProyecto(plat::Canvas &canvas, const QSize &imagen, double desde, double hasta,
                         const ProyectoGantt &proyecto, double ahora);
void PintarCabeceraInforme(plat::Canvas &canvas, const QSize &imagen, double s0, double s1);
