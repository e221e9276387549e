#pragma once
#include "projects/proyectos/PlanProyecto.h"

#include <QDateTime>
#include <QString>

namespace plat {
class Dialect;
}

// The project query's rules that read no control and no table: the statement of the chosen
// projects, the director's code in the combo's text, which chapters are shown and the
// statistics line.

// "SELECT * FROM PROYECT " and its condition: the open and/or closed projects, and the
// director's code unless the combo shows "Todos".
QString ConsultaProyectos(bool abiertos, bool cerrados, const QString &textoDirector);

// The operators as the director list shows them, "name - code", by name.
QString SentenciaDirectores(const plat::Dialect &dialecto);

// The statements that read a project's closing date and close it on that date.
QString SentenciaFechaCierre(const QString &codigo);
QString SentenciaCerrarProyecto(const QString &codigo, const QDateTime &fecha);

// The code of a director item "name - code": the text after the last " - ", so that a
// name holding the separator still gives the code.
QString CodigoDirector(const QString &textoDirector);

// The toggles that hide chapters.
struct VistaCapitulos
{
    bool VerTerminados = false;        // VerGradoAvance3 down
    bool VerNoPlanificado = false;     // VerPlanificado down
    bool SoloMalPlanificado = false;   // VerSoloMalPlanificado down
};

// Whether a chapter is shown: a finished one only with VerTerminados, one with hours and no
// dates only with VerNoPlanificado, and with SoloMalPlanificado only those ending before
// `hoy` (a day number; no end counts as before).
bool CapituloVisible(const LineaPlan &linea, const VistaCapitulos &vista, double hoy);

// "Tiempo Asignado Pendiente: P-A h. (P h. - A h.)", each figure with thousands separators
// and no decimals (zero prints no digits).
QString TextoEstadisticas(double previsto, double realizado);
