#include "projects/gamas/EspecificacionGama.h"

namespace {
const QString kSeparador = QStringLiteral("...");
}

PartesEspecificacion PartirEspecificacion(const QString &valor)
{
    const qsizetype separador = valor.indexOf(kSeparador);
    if (separador < 0)
        return {valor, QString()};
    return {valor.left(separador), valor.mid(separador + kSeparador.size())};
}

QString UnirEspecificacion(const QString &desde, const QString &hasta) { return desde + kSeparador + hasta; }
