#pragma once
#include <QString>

// The filter text of the technical notes: one condition per group of option boxes (type,
// situation, priority), then the conditions typed by value, joined by " and ".
namespace filtroNotas {

struct Opciones
{
    bool sugerencias = true, errores = true;
    bool solucionado = false, pendiente = true;
    bool prioritario = true, urgente = true, normal = false;
};

QString CondicionTipo(const Opciones &o);
QString CondicionSituacion(const Opciones &o);
QString CondicionPrioridad(const Opciones &o);
QString TextoFiltro(const Opciones &o, const QString &filtroPorValor);

// "(" field operator value ")", the value quoted so that it compares with exactly what
// was typed.
QString CondicionPorValor(const QString &campo, const QString &operador, const QString &valor);
// The conditions by value so far with one more, joined by " AND ".
QString AnadirCondicion(const QString &filtroPorValor, const QString &condicion);

} // namespace filtroNotas
