#include "GENEW/data/servicios/TextosRegistroINI.h"

#include "GENEW/runtime/comun/RutinasTexto.h"

LineaRegistroINI LineaRegistroINI::leer(const QString &linea)
{
    const qsizetype igual = linea.indexOf(u'=');
    if (igual < 0)
        return {linea, QString()};
    return {linea.left(igual), linea.mid(igual + 1)};
}

QList<LineaRegistroINI> FusionarRegistroINI(const QString &plantilla, const QString &actual)
{
    QList<LineaRegistroINI> actuales;
    for (const QString &linea : DividirLineas(actual))
        actuales << LineaRegistroINI::leer(linea);
    QList<LineaRegistroINI> fusion;
    for (const QString &linea : DividirLineas(plantilla)) {
        LineaRegistroINI l = LineaRegistroINI::leer(linea);
        for (const LineaRegistroINI &a : actuales)
            if (a.nombre.compare(l.nombre, Qt::CaseInsensitive) == 0) {
                l.valor = a.valor;
                break;
            }
        fusion << l;
    }
    return fusion;
}

DescriptorRegistroINI DescriptorRegistroINI::leer(const QString &descriptor)
{
    DescriptorRegistroINI d;
    if (descriptor.isEmpty())
        return d;
    if (!descriptor.contains(QStringLiteral("ELLIPSIS"))) {
        d.tipo = Tipo::Lista;
        d.valores = descriptor.split(u',');
    } else if (descriptor.contains(QStringLiteral("ELLIPSIS_RANGO"))) {
        d.tipo = Tipo::Rango;
    } else if (descriptor.contains(QStringLiteral("ELLIPSIS_GA"))) {
        d.tipo = Tipo::GruposAnalisis;
        const qsizetype dosPuntos = descriptor.indexOf(u':');
        d.perfiles = dosPuntos < 0 ? QString() : descriptor.mid(dosPuntos + 1);
    } else {
        d.tipo = Tipo::Boton;
    }
    return d;
}

QPair<QString, QString> PartesRango(const QString &valor)
{
    const qsizetype puntos = valor.indexOf(QStringLiteral("..."));
    if (puntos < 0)
        return {valor, QString()};
    return {valor.left(puntos), valor.mid(puntos + 3)};
}
