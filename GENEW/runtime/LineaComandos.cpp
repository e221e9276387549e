#include "GENEW/runtime/LineaComandos.h"

#include <algorithm>

namespace {

bool tieneFormaDeOpcion(const QString &argumento)
{
    return argumento.size() >= 2 && argumento.at(1) == QLatin1Char('=');
}

} // namespace

OpcionesLineaComandos OpcionesLineaComandos::leer(const QStringList &argumentos)
{
    OpcionesLineaComandos opciones;
    if (std::none_of(argumentos.begin(), argumentos.end(), tieneFormaDeOpcion)) {
        if (argumentos.size() >= 2)
            opciones.usuario = argumentos.at(1);
        return opciones;
    }
    for (const QString &argumento : argumentos) {
        const QString opcion = argumento.left(2).toUpper();
        const QString valor = argumento.mid(2);
        if (opcion == QLatin1String("U="))
            opciones.usuario = valor;
        else if (opcion == QLatin1String("I="))
            opciones.archivoConfiguracion = valor;
        else if (opcion == QLatin1String("T="))
            opciones.idioma = valor;
    }
    return opciones;
}

QString LineaComandos(const QString &usuarioActual, const OpcionesLineaComandos &opciones)
{
    return QStringLiteral(" U=") + usuarioActual + QStringLiteral(" I=") + opciones.archivoConfiguracion
        + QStringLiteral(" T=") + opciones.idioma;
}
