#include "GENEW/data/modulo/DibujarEscalaTiempo.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"

#include "GENEW/runtime/comun/RutinasFechas.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"

#include <algorithm>
#include <cmath>

namespace {

// 30/12/1899 as a Julian day: a number, so that day numbers are right even while other
// translation units are still being initialised.
constexpr qint64 kJulianoDiaCero = 2415019;
constexpr double kMilisegundosDia = 86400000.0;
constexpr double kLimitePixel = 1000000.0;

} // namespace

double NumeroDia(const QDateTime &fecha)
{
    if (!fecha.isValid())
        return 0;
    return double(fecha.date().toJulianDay() - kJulianoDiaCero) + fecha.time().msecsSinceStartOfDay() / kMilisegundosDia;
}

QDateTime FechaDeNumeroDia(double dia)
{
    if (!std::isfinite(dia))
        return FechaCero();
    const double dias = std::floor(dia);
    const int milisegundos = std::clamp(int(std::lround((dia - dias) * kMilisegundosDia)), 0, 86399999);
    return FechaHora(QDate::fromJulianDay(kJulianoDiaCero + qint64(dias)), QTime::fromMSecsSinceStartOfDay(milisegundos));
}

int PosicionPixel(double valor)
{
    if (std::isnan(valor))
        return 0;
    return RedondearMitadesAPar(std::clamp(valor, -kLimitePixel, kLimitePixel));
}

void RecorrerDias(double desde, double hasta, const std::function<int(double dia)> &posicion,
                  const std::function<void(int px)> &marcar)
{
    int anterior = 0;
    bool hay = false;
    for (double dia = desde; dia <= hasta; dia += 1) {
        const int px = posicion(dia);
        if (hay && px == anterior)
            continue;
        marcar(px);
        anterior = px;
        hay = true;
    }
}

double PrimerLunes(double dia)
{
    const int diaSemana = DiaDeLaSemana(FechaDeNumeroDia(dia));
    return diaSemana == 1 ? dia : dia + 8 - diaSemana;
}

void RecorrerMeses(double desde, double hasta, const std::function<void(double dia, int mes)> &visitar)
{
    const QDateTime inicio = FechaDeNumeroDia(desde);
    QDateTime mes = DiaDeFecha(inicio) == 1 ? inicio : PrimerDiaDelMes(SumarMeses(1, inicio));
    // Stops too where the calendar ends (an invalid month is no later day).
    for (double dia = NumeroDia(mes), previo = dia - 1; mes.isValid() && dia > previo && dia <= hasta;
         previo = dia, mes = SumarMeses(1, mes), dia = NumeroDia(mes))
        visitar(dia, MesDeFecha(mes));
}

int IzquierdaNombreMes(int x, int anchoNombre, const QRect &rectangulo)
{
    return std::max(rectangulo.left(), std::min(x + 2, rectangulo.left() + rectangulo.width() - anchoNombre));
}

void DibujarEscalaTiempo(plat::Canvas &canvas, const QRect &rectangulo, double s0, double s1,
                         const QString &opciones, double ahora)
{
    const double d = s1 - s0 + 1;
    if (!(d > 0))
        return;
    const int l = rectangulo.left(), t = rectangulo.top();
    const int b = t + rectangulo.height();
    const double w = rectangulo.width();
    const auto x = [&](double dia) { return PosicionPixel((dia - s0) * w / d); };
    const auto lineaVertical = [&](int px, int desde, int hasta) {
        canvas.MoveTo(l + px, desde);
        canvas.LineTo(l + px, hasta);
    };

    if (opciones.contains(QStringLiteral("Dias"))) {
        canvas.pen().Color = plat::clSilver;
        const int medio = t + (b - t) / 2;
        // Neighbouring day marks (days closer than two pixels) as one run: one mark in a
        // picture or a PDF instead of one per pixel, the same pixels on the page.
        int desde = 0, hasta = -1;
        const auto marcarTramo = [&] {
            if (hasta < desde)
                return;
            canvas.MoveTo(l + desde, medio);
            canvas.LineTo(l + hasta + 1, medio);
        };
        RecorrerDias(s0, s1, x, [&](int px) {
            if (hasta >= desde && px == hasta + 1) {
                hasta = px;
                return;
            }
            marcarTramo();
            desde = hasta = px;
        });
        marcarTramo();
    }
    if (opciones.contains(QStringLiteral("Semanas"))) {
        canvas.pen().Color = plat::clSilver;
        for (double dia = PrimerLunes(s0); dia <= s1; dia += 7)
            lineaVertical(x(dia), t, b);
    }
    if (opciones.contains(QStringLiteral("Meses"))) {
        const bool sinLineas = opciones.contains(QStringLiteral("Cabecera Meses"));
        const bool sinNombres = opciones.contains(QStringLiteral("Linea Meses"));
        RecorrerMeses(s0, s1, [&](double dia, int mes) {
            const int px = x(dia);
            if (!sinLineas) {
                canvas.pen().Color = plat::clBlack;
                canvas.brush().Color = plat::clWhite;
                lineaVertical(px, t, b);
            }
            if (!sinNombres) {
                canvas.brush().Color = plat::clSilver;
                canvas.brush().Style = plat::bsSolid;
                canvas.pen().Color = plat::clBlack;
                canvas.font().Color = plat::clBlack;
                const QString nombre = NombreMes(mes).left(3);
                canvas.TextOut(IzquierdaNombreMes(l + px, canvas.TextWidth(nombre), rectangulo), 2, nombre);
            }
        });
    }
    if (opciones.contains(QStringLiteral("Hoy"))) {
        canvas.pen().Color = plat::clFuchsia;
        lineaVertical(x(ahora), t, b);
        canvas.pen().Color = plat::clSilver;
        canvas.brush().Color = plat::clWhite;
    }
}
