#pragma once
#include "platform/base/Gancho.h"

#include <QString>
#include <functional>

// The company name printed on listing and report headers: the name of the company that is
// open, which the main window holds and serves through this hook while a company is open.
Gancho<std::function<QString()>> &ganchoNombreEmpresaAbierta();
QString NombreEmpresaInforme();
