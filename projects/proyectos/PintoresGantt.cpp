#include "projects/proyectos/PintoresGantt.h"

#include "GENEW/data/modulo/DibujarEscalaTiempo.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

const QString kEscalaConsultaConDias = QStringLiteral("Dias,Semanas,Linea Meses,Hoy");
const QString kEscalaConsultaSinDias = QStringLiteral("Semanas,Linea Meses,Hoy");
const QString kEscalaInforme = QStringLiteral("Dias,Semanas,Linea Meses,Hoy");
const QString kCabeceraInforme = QStringLiteral("Cabecera Meses");

// Grid painters keep inside their cell: a far date's line must not cross other columns.
class RecorteCelda
{
public:
    RecorteCelda(plat::Canvas &canvas, const QRect &celda) : painter_(*canvas.painter())
    {
        painter_.save();
        painter_.setClipRect(celda, Qt::IntersectClip);
    }
    ~RecorteCelda() { painter_.restore(); }
    RecorteCelda(const RecorteCelda &) = delete;
    RecorteCelda &operator=(const RecorteCelda &) = delete;

private:
    QPainter &painter_;
};

void LineaVertical(plat::Canvas &canvas, int x, int y1, int y2)
{
    canvas.MoveTo(x, y1);
    canvas.LineTo(x, y2);
}

double Acotar(double dia, double s0, double s1) { return dia < s0 ? s0 : (dia > s1 ? s1 : dia); }

double Proporcion(double realizado, double previsto)
{
    const double r = realizado / previsto;
    return std::isfinite(r) ? r : 0;
}

// The rows a bar covers, below the top of its cell (the lower one excluded).
struct Filas
{
    int arriba, abajo;
};

// The chapter's bar on its project's scale, on the heading line's thinner rows when it is
// one; nothing for a chapter without dates.
void BarraCapitulo(plat::Canvas &canvas, int l, int t, const EscalaGantt &escala, const CapituloGantt &capitulo,
                   Filas barra, Filas titulo)
{
    const double c0 = NumeroDia(capitulo.Capitulo.FechaInicio);
    if (c0 == 0 || !escala.tieneDias())
        return;
    const int x1 = escala.x(c0);
    const int x2 = escala.finBarra(NumeroDia(capitulo.Capitulo.FechaFinal));
    if (EsLineaTitulo(capitulo.Linea)) {
        canvas.brush().Color = plat::clBlack;
        canvas.Rectangle(l + x1, t + titulo.arriba, l + x2, t + titulo.abajo);
    } else {
        canvas.brush().Color = ColorAvanceCapitulo(capitulo.Linea.GradoAvance);
        canvas.Rectangle(l + x1, t + barra.arriba, l + x2, t + barra.abajo);
    }
}

// A project's span bar clamped into the scale and its progress bar inside.
void BarraProyecto(plat::Canvas &canvas, int l, int t, const EscalaGantt &escala, const PlanProyecto &plan,
                   Filas span, Filas avance)
{
    const double p0 = Acotar(NumeroDia(plan.FechaInicio), escala.S0, escala.S1);
    const double p1 = Acotar(NumeroDia(plan.FechaFinal), escala.S0, escala.S1);
    if (p0 == 0 || p1 == 0 || !escala.tieneDias())
        return;
    const int x1 = escala.x(p0);
    const int x2 = escala.finBarra(p1);
    canvas.brush().Color = plat::clGray;
    canvas.Rectangle(l + x1, t + span.arriba, l + x2, t + span.abajo);
    const double r = Proporcion(plan.TiempoRealizado, plan.TiempoPrevisto);
    const int x3 = std::max(PosicionPixel(x2 * r), x1);
    canvas.brush().Color = ColorAvanceProyecto(plan.TiempoPrevisto, plan.TiempoRealizado);
    canvas.Rectangle(l + x1, t + avance.arriba, l + x3, t + avance.abajo);
}

void MarcaEntrega(plat::Canvas &canvas, int l, int t, const EscalaGantt &escala, double fechaEntrega)
{
    if (fechaEntrega == 0 || !escala.tieneDias())
        return;
    const int xE = fechaEntrega > escala.S0 ? PosicionPixel((fechaEntrega - escala.S0) * escala.W / escala.D()) : 0;
    canvas.pen().Color = plat::clRed;
    canvas.brush().Style = plat::bsClear;
    canvas.Ellipse(l + xE - 2, t + 6, l + xE + 3, t + 11);
    canvas.pen().Color = plat::clSilver;
    canvas.brush().Style = plat::bsSolid;
}

// What a report picture's drawing covers: two pixels past its right and bottom edges.
QRect RectanguloImagen(const QSize &imagen) { return QRect(0, 0, imagen.width() + 2, imagen.height() + 2); }

// The picture of a band is cleared with the brush the previous band left (white).
void LimpiarImagen(plat::Canvas &canvas, const QSize &imagen)
{
    canvas.brush().Style = plat::bsSolid;
    canvas.FillRect(RectanguloImagen(imagen));
}

} // namespace

// ---- scale and colours ------------------------------------------------------------------------

EscalaGantt EscalaGantt::de(const PlanProyecto &plan, int ancho)
{
    return EscalaGantt{NumeroDia(plan.FechaInicio), NumeroDia(plan.FechaFinal), ancho};
}

int EscalaGantt::x(double dia) const { return PosicionPixel(W * (dia - S0) / D()); }

int ColorAvanceCapitulo(const QString &gradoAvance)
{
    if (gradoAvance == QLatin1String("Terminado"))
        return plat::clRed;
    if (gradoAvance >= QLatin1String("50"))
        return plat::clFuchsia;
    if (gradoAvance > QLatin1String("00"))
        return plat::clBlue;
    return plat::clGreen;
}

int ColorAvanceProyecto(double previsto, double realizado)
{
    const double r = Proporcion(realizado, previsto);
    if (r >= 1)
        return plat::clRed;
    if (r >= 0.5)
        return plat::clFuchsia;
    if (r > 0)
        return plat::clBlue;
    return plat::clGreen;
}

bool EsLineaTitulo(const LineaPlan &linea)
{
    return linea.FechaInicio == 0 && linea.FechaFinal == 0 && linea.TiempoPrevisto == 0;
}

void PrepararFuenteLinea(plat::Canvas &canvas, const LineaPlan &linea)
{
    QFont fuente = canvas.font().Font;
    fuente.setBold(EsLineaTitulo(linea));
    canvas.setFont(fuente);
}

// ---- project master ---------------------------------------------------------------------------

void PintarCapituloMaestro(plat::Canvas &canvas, const QRect &celda, const PlanProyecto &proyecto,
                           const CapituloGantt &capitulo, bool verDias, double ahora)
{
    const RecorteCelda recorte(canvas, celda);
    const int l = celda.left(), t = celda.top();
    const EscalaGantt escala = EscalaGantt::de(proyecto, celda.width());
    BarraCapitulo(canvas, l, t, escala, capitulo, {2, 14}, {6, 10});
    if (!escala.tieneDias())
        return;
    // The inline scale places its marks at W / D per day.
    const double pixelesDia = double(escala.W) / escala.D();
    const auto x = [&](double dia) { return PosicionPixel(pixelesDia * (dia - escala.S0)); };
    if (verDias) {
        canvas.pen().Color = plat::clSilver;
        RecorrerDias(escala.S0, escala.S1, x, [&](int px) { LineaVertical(canvas, l + px, t + 8, t + 9); });
    }
    canvas.pen().Color = plat::clSilver;
    for (double dia = PrimerLunes(escala.S0); dia <= escala.S1; dia += 7)
        LineaVertical(canvas, l + x(dia), t, t + 18);
    RecorrerMeses(escala.S0, escala.S1, [&](double dia, int) {
        canvas.pen().Color = plat::clBlack;
        canvas.brush().Color = plat::clWhite;
        LineaVertical(canvas, l + x(dia), t, t + 18);
        canvas.brush().Color = plat::clSilver;
    });
    canvas.pen().Color = plat::clFuchsia;
    LineaVertical(canvas, l + PosicionPixel((ahora - escala.S0) * pixelesDia), t, t + 18);
    canvas.pen().Color = plat::clSilver;
    canvas.brush().Color = plat::clWhite;
}

void PintarTituloMaestro(plat::Canvas &canvas, const QRect &titulo, const PlanProyecto &proyecto)
{
    const RecorteCelda recorte(canvas, titulo);
    const EscalaGantt escala = EscalaGantt::de(proyecto, titulo.width());
    if (!escala.tieneDias())
        return;
    const double pixelesDia = double(escala.W) / escala.D();
    canvas.brush().Color = plat::clSilver;
    canvas.brush().Style = plat::bsSolid;
    canvas.font().Color = plat::clBlack;
    RecorrerMeses(escala.S0, escala.S1, [&](double dia, int mes) {
        const int px = PosicionPixel(pixelesDia * (dia - escala.S0));
        const QString nombre = NombreMes(mes).left(3);
        canvas.TextOut(IzquierdaNombreMes(titulo.left() + px, canvas.TextWidth(nombre), titulo), titulo.top() + 2, nombre);
    });
}

// ---- project query ----------------------------------------------------------------------------

void PintarCapituloConsulta(plat::Canvas &canvas, const QRect &celda, const PlanProyecto &proyecto,
                            const CapituloGantt &capitulo, bool verDias, double ahora)
{
    const RecorteCelda recorte(canvas, celda);
    const EscalaGantt escala = EscalaGantt::de(proyecto, celda.width());
    BarraCapitulo(canvas, celda.left(), celda.top(), escala, capitulo, {2, 14}, {6, 10});
    DibujarEscalaTiempo(canvas, celda, escala.S0, escala.S1, verDias ? kEscalaConsultaConDias : kEscalaConsultaSinDias,
                        ahora);
}

void PintarProyectoConsulta(plat::Canvas &canvas, const QRect &celda, double desde, double hasta,
                            const ProyectoGantt &proyecto, bool verDias, double ahora)
{
    const RecorteCelda recorte(canvas, celda);
    const int l = celda.left(), t = celda.top();
    const EscalaGantt escala{desde, hasta, celda.width()};
    BarraProyecto(canvas, l, t, escala, proyecto.Plan, {3, 14}, {6, 11});
    DibujarEscalaTiempo(canvas, celda, desde, hasta, verDias ? kEscalaConsultaConDias : kEscalaConsultaSinDias, ahora);
    MarcaEntrega(canvas, l, t, escala, proyecto.FechaEntrega);
}

void PintarTextoConsulta(plat::Canvas &canvas, const QRect &celda, const QString &textoEdicion)
{
    canvas.TextRect(celda, celda.left() + 2, celda.top() + 2, textoEdicion);
}

// ---- Gantt listing ----------------------------------------------------------------------------

BandaGantt BandaGantt::deCapitulo(const QString &descripcionAbreviada, const LineaPlan &linea)
{
    const bool titulo = EsLineaTitulo(linea);
    return BandaGantt{descripcionAbreviada, titulo, titulo ? 20 : 15, titulo ? 5 : 0};
}

BandaGantt BandaGantt::deProyecto(const QString &codigo, const QString &nombreCliente)
{
    return BandaGantt{codigo + QStringLiteral(" - ") + nombreCliente, false, 15, 0};
}

void PintarBandaCapitulo(plat::Canvas &canvas, const QSize &imagen, const PlanProyecto &proyecto,
                         const CapituloGantt &capitulo, double ahora)
{
    LimpiarImagen(canvas, imagen);
    const EscalaGantt escala = EscalaGantt::de(proyecto, imagen.width());
    canvas.pen().Color = plat::clSilver;
    BarraCapitulo(canvas, 0, 0, escala, capitulo, {1, 15}, {9, 14});
    DibujarEscalaTiempo(canvas, RectanguloImagen(imagen), escala.S0, escala.S1, kEscalaInforme, ahora);
}

void PintarBandaProyecto(plat::Canvas &canvas, const QSize &imagen, double desde, double hasta,
                         const ProyectoGantt &proyecto, double ahora)
{
    LimpiarImagen(canvas, imagen);
    const EscalaGantt escala{desde, hasta, imagen.width()};
    canvas.pen().Color = plat::clSilver;
    BarraProyecto(canvas, 0, 0, escala, proyecto.Plan, {1, 15}, {4, 12});
    DibujarEscalaTiempo(canvas, RectanguloImagen(imagen), desde, hasta, kEscalaInforme, ahora);
    MarcaEntrega(canvas, 0, 0, escala, proyecto.FechaEntrega);
}

void PintarCabeceraInforme(plat::Canvas &canvas, const QSize &imagen, double s0, double s1)
{
    canvas.brush().Color = plat::clSilver;
    canvas.brush().Style = plat::bsSolid;
    canvas.FillRect(RectanguloImagen(imagen));
    DibujarEscalaTiempo(canvas, RectanguloImagen(imagen), s0, s1, kCabeceraInforme, 0);
}
