#include "GENEW/data/NombreEmpresaInforme.h"

namespace {
std::function<QString()> &nombreEmpresaAbierta()
{
    static std::function<QString()> nombre;
    return nombre;
}
} // namespace

void InstalarNombreEmpresaAbierta(std::function<QString()> nombreEmpresa)
{
    nombreEmpresaAbierta() = std::move(nombreEmpresa);
}

QString NombreEmpresaInforme()
{
    const auto &nombre = nombreEmpresaAbierta();
    return nombre ? nombre() : QString();
}
