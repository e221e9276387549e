#pragma once
#include <QString>
#include <functional>

// The company name printed on listing and report headers: the name of the company that is
// open, which the main window holds and tells through the function it installs here (an
// empty function when no company is open).
void InstalarNombreEmpresaAbierta(std::function<QString()> nombreEmpresa);
QString NombreEmpresaInforme();
