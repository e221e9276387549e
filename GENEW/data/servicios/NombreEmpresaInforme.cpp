#include "GENEW/data/servicios/NombreEmpresaInforme.h"

Gancho<std::function<QString()>> &ganchoNombreEmpresaAbierta()
{
    static Gancho<std::function<QString()>> gancho;
    return gancho;
}

QString NombreEmpresaInforme()
{
    const auto &nombre = ganchoNombreEmpresaAbierta().valor();
    return nombre ? nombre() : QString();
}
