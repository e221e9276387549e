#pragma once
#include <QDateTime>
#include <QString>
#include <optional>

// The plan figures of a project or chapter, computed from its lines. Dates are day numbers
// (GENEW/data/DibujarEscalaTiempo.h: days since 30/12/1899, 0 = no date) while they are
// worked on; results carry program date-times.

// What a line of LPROYECT gives to a plan.
struct LineaPlan
{
    double FechaInicio = 0;   // day numbers, 0 = none
    double FechaFinal = 0;
    double TiempoPrevisto = 0;
    QString GradoAvance;
};

// The span and hours of a project or chapter; unset dates are FechaCero().
struct PlanProyecto
{
    QDateTime FechaInicio;
    QDateTime FechaFinal;
    double TiempoPrevisto = 0;
    double TiempoRealizado = 0;
};

// The hours of a project or chapter that fall inside a horizon.
struct PlanHorizonte
{
    double TiempoPrevisto = 0;
    double TiempoRealizado = 0;
};

// The share of a line's hours that its progress text has achieved: all of them for exactly
// "Terminado", else the text read as a percentage with the decimal comma ("75,5"); none when
// the text is not such a number.
std::optional<double> FraccionAvance(const QString &gradoAvance);

// The days of S..E that fall between Desde and Hasta (0 when none).
double SolapeHorizonte(double s, double e, double desde, double hasta);

// The plan of one walk over the lines of a project or chapter.
class CalculoPlan
{
public:
    // A whole project starts from its acceptance and delivery (or finalisation) dates; a
    // chapter starts with no dates.
    static CalculoPlan deProyecto(double fechaAceptacion, double fechaEntrega, double fechaFinalizacion);
    static CalculoPlan deCapitulo();

    void anadir(const LineaPlan &linea);
    PlanProyecto resultado() const;

private:
    CalculoPlan(double inicio, double fin, bool capitulo) : inicio_(inicio), fin_(fin), capitulo_(capitulo) {}
    double inicio_, fin_;
    bool capitulo_;
    double previsto_ = 0, realizado_ = 0;
};

// The share of a walk's lines inside the horizon Desde..Hasta.
class CalculoHorizonte
{
public:
    CalculoHorizonte(double desde, double hasta) : desde_(desde), hasta_(hasta) {}
    void anadir(const LineaPlan &linea);
    PlanHorizonte resultado() const { return plan_; }

private:
    double desde_, hasta_;
    PlanHorizonte plan_;
};
