#include "projects/proyectos/FiltroNotasTecnicas.h"

#include "GENEW/runtime/comun/RutinasTexto.h"

#include <QStringList>

namespace filtroNotas {

QString CondicionTipo(const Opciones &o)
{
    if (o.sugerencias && o.errores)
        return QStringLiteral("(NivelUrgencia='Error' OR NivelUrgencia='Sugerencia')");
    if (o.sugerencias)
        return QStringLiteral("(NivelUrgencia='Sugerencia')");
    if (o.errores)
        return QStringLiteral("(NivelUrgencia='Error')");
    return {};
}

QString CondicionSituacion(const Opciones &o)
{
    if (o.solucionado && o.pendiente)
        return QStringLiteral("(Situacion='Solucionado' OR Situacion='Desestimado' OR Situacion='Pendiente')");
    if (o.solucionado)
        return QStringLiteral("(Situacion='Solucionado' OR Situacion='Desestimado')");
    if (o.pendiente)
        return QStringLiteral("(Situacion='Pendiente')");
    return {};
}

QString CondicionPrioridad(const Opciones &o)
{
    QStringList valores;
    if (o.prioritario)
        valores << QStringLiteral("NivelPrioridad='Maxima'");
    if (o.urgente)
        valores << QStringLiteral("NivelPrioridad='Urgente'");
    if (o.normal)
        valores << QStringLiteral("NivelPrioridad='Normal'");
    return valores.isEmpty() ? QString() : u'(' + valores.join(QStringLiteral(" OR ")) + u')';
}

QString TextoFiltro(const Opciones &o, const QString &filtroPorValor)
{
    QStringList condiciones;
    for (const QString &c : {CondicionTipo(o), CondicionSituacion(o), CondicionPrioridad(o), filtroPorValor})
        if (!c.isEmpty())
            condiciones << c;
    return condiciones.join(QStringLiteral(" and "));
}

QString CondicionPorValor(const QString &campo, const QString &operador, const QString &valor)
{
    return u'(' + campo + u' ' + operador + u' ' + Entrecomillar(valor) + u')';
}

QString AnadirCondicion(const QString &filtroPorValor, const QString &condicion)
{
    return filtroPorValor.isEmpty() ? condicion : filtroPorValor + QStringLiteral(" AND ") + condicion;
}

} // namespace filtroNotas
