#include "projects/gamas/LecturasGamas.h"

#include <QRegularExpression>

std::optional<std::pair<int, int>> LeerNumeroOrden(const QString &linea)
{
    const QStringList piezas = linea.split(u'/');
    if (piezas.size() < 2)
        return std::nullopt;
    bool ok1 = false, ok2 = false;
    const int ejercicio = piezas[0].trimmed().toInt(&ok1);
    const int numero = piezas[1].trimmed().toInt(&ok2);
    if (!ok1 || !ok2)
        return std::nullopt;
    return std::make_pair(ejercicio, numero);
}

QStringList LeerCodigosGama(const QString &texto)
{
    static const QRegularExpression salto(QStringLiteral("\r?\n"));
    QStringList codigos;
    for (const QString &codigo : texto.split(salto))
        if (!codigo.isEmpty() && !codigos.contains(codigo))
            codigos << codigo;
    return codigos;
}
