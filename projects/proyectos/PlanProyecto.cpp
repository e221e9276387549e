#include "projects/proyectos/PlanProyecto.h"

#include "GENEW/data/modulo/DibujarEscalaTiempo.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"

namespace {

constexpr double kSemana = 7;

void AnadirHoras(double horas, const QString &gradoAvance, double &previsto, double &realizado)
{
    previsto += horas;
    if (const auto fraccion = FraccionAvance(gradoAvance))
        realizado += horas * *fraccion;
}

} // namespace

std::optional<double> FraccionAvance(const QString &gradoAvance)
{
    if (gradoAvance == QLatin1String("Terminado"))
        return 1.0;
    double porcentaje = 0;
    if (!LeerDecimal(gradoAvance, porcentaje))
        return std::nullopt;
    return porcentaje / 100;
}

double SolapeHorizonte(double s, double e, double desde, double hasta)
{
    if (desde < s && hasta < s)
        return 0;
    if (desde < s && s < hasta && hasta < e)
        return hasta - s;
    if (desde <= s && hasta >= e)
        return e - s;
    if (desde >= s && hasta <= e)
        return hasta - desde;
    if (s <= desde && desde < e && e <= hasta)
        return e - desde;
    return 0;
}

CalculoPlan CalculoPlan::deProyecto(double fechaAceptacion, double fechaEntrega, double fechaFinalizacion)
{
    return CalculoPlan(fechaAceptacion, fechaFinalizacion != 0 ? fechaFinalizacion : fechaEntrega, false);
}

CalculoPlan CalculoPlan::deCapitulo() { return CalculoPlan(0, 0, true); }

void CalculoPlan::anadir(const LineaPlan &linea)
{
    if (linea.FechaInicio != 0 && (inicio_ == 0 || linea.FechaInicio < inicio_))
        inicio_ = linea.FechaInicio;
    if (linea.FechaFinal != 0 && linea.FechaFinal > fin_)
        fin_ = linea.FechaFinal;
    AnadirHoras(linea.TiempoPrevisto, linea.GradoAvance, previsto_, realizado_);
}

PlanProyecto CalculoPlan::resultado() const
{
    double inicio = inicio_;
    if (capitulo_ && inicio == 0 && fin_ != 0)
        inicio = fin_ - kSemana;
    return PlanProyecto{FechaDeNumeroDia(inicio), FechaDeNumeroDia(fin_), previsto_, realizado_};
}

void CalculoHorizonte::anadir(const LineaPlan &linea)
{
    double s = linea.FechaInicio;
    const double e = linea.FechaFinal;
    if (s == 0 && e != 0)
        s = e - kSemana;
    // A line of no length has no share; testing first keeps 0 / 0 out of the sums.
    if (e == s)
        return;
    const double parte = linea.TiempoPrevisto * (SolapeHorizonte(s, e, desde_, hasta_) / (e - s));
    AnadirHoras(parte, linea.GradoAvance, plan_.TiempoPrevisto, plan_.TiempoRealizado);
}
