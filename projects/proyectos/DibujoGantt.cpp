#include "projects/proyectos/DibujoGantt.h"

#include "GENEW/data/modulo/DibujarEscalaTiempo.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "projects/proyectos/Proymodu.h"

namespace {

PlanProyecto Plan(const QString &codigoProyecto, const QString &capitulo)
{
    if (!MDProyectos)
        return PlanProyecto{FechaCero(), FechaCero(), 0, 0};
    return MDProyectos->CalcularPlanProyecto(codigoProyecto, capitulo);
}

PlanProyecto PlanProyectoDe(const FilaCapituloGantt &fila) { return Plan(fila.CodigoProyecto, QString()); }

CapituloGantt CapituloDe(const FilaCapituloGantt &fila)
{
    return CapituloGantt{fila.Linea, Plan(fila.CodigoProyecto, fila.Capitulo)};
}

ProyectoGantt ProyectoDe(const FilaProyectoGantt &fila)
{
    return ProyectoGantt{Plan(fila.Codigo, QString()), NumeroDia(fila.FechaEntrega)};
}

double Hoy() { return NumeroDia(Ahora()); }

double Dia(const plat::Field &campo) { return campo.isNull() ? 0 : NumeroDia(campo.asDateTime()); }

QString Texto(const plat::DataSet &datos, const char *campo)
{
    return datos.fieldByName(QString::fromLatin1(campo)).asString();
}

} // namespace

LineaPlan LineaPlanDe(const plat::DataSet &lineas)
{
    return LineaPlan{Dia(lineas.fieldByName(QStringLiteral("FechaInicio"))),
                     Dia(lineas.fieldByName(QStringLiteral("FechaFinal"))),
                     lineas.fieldByName(QStringLiteral("TiempoPrevisto")).asFloat(), Texto(lineas, "GradoAvance")};
}

FilaCapituloGantt FilaCapituloGantt::de(const plat::DataSet &lineas)
{
    return FilaCapituloGantt{Texto(lineas, "CodigoProyecto"), Texto(lineas, "Capitulo"), LineaPlanDe(lineas)};
}

FilaProyectoGantt FilaProyectoGantt::de(const plat::DataSet &proyectos)
{
    const plat::Field &entrega = proyectos.fieldByName(QStringLiteral("FechaEntrega"));
    return FilaProyectoGantt{Texto(proyectos, "Codigo"), entrega.isNull() ? FechaCero() : entrega.asDateTime()};
}

void DibujarCapituloMaestro(plat::Canvas &canvas, const QRect &celda, const FilaCapituloGantt &fila, bool verDias)
{
    PintarCapituloMaestro(canvas, celda, PlanProyectoDe(fila), CapituloDe(fila), verDias, Hoy());
}

void DibujarTituloMaestro(plat::Canvas &canvas, const QRect &titulo, const QString &codigoProyecto)
{
    PintarTituloMaestro(canvas, titulo, Plan(codigoProyecto, QString()));
}

void DibujarCapituloConsulta(plat::Canvas &canvas, const QRect &celda, const FilaCapituloGantt &fila, bool verDias)
{
    PintarCapituloConsulta(canvas, celda, PlanProyectoDe(fila), CapituloDe(fila), verDias, Hoy());
}

void DibujarProyectoConsulta(plat::Canvas &canvas, const QRect &celda, const FilaProyectoGantt &fila,
                             const QDateTime &desde, const QDateTime &hasta, bool verDias)
{
    PintarProyectoConsulta(canvas, celda, NumeroDia(desde), NumeroDia(hasta), ProyectoDe(fila), verDias, Hoy());
}

void DibujarBandaCapitulo(plat::Canvas &canvas, const QSize &imagen, const FilaCapituloGantt &fila)
{
    PintarBandaCapitulo(canvas, imagen, PlanProyectoDe(fila), CapituloDe(fila), Hoy());
}

void DibujarBandaProyecto(plat::Canvas &canvas, const QSize &imagen, const FilaProyectoGantt &fila,
                          const QDateTime &desde, const QDateTime &hasta)
{
    PintarBandaProyecto(canvas, imagen, NumeroDia(desde), NumeroDia(hasta), ProyectoDe(fila), Hoy());
}

void DibujarCabeceraCapitulos(plat::Canvas &canvas, const QSize &imagen, const QString &codigoProyecto)
{
    const EscalaGantt escala = EscalaGantt::de(Plan(codigoProyecto, QString()), imagen.width());
    PintarCabeceraInforme(canvas, imagen, escala.S0, escala.S1);
}

void DibujarCabeceraProyectos(plat::Canvas &canvas, const QSize &imagen, const QDateTime &desde,
                              const QDateTime &hasta)
{
    PintarCabeceraInforme(canvas, imagen, NumeroDia(desde), NumeroDia(hasta));
}
