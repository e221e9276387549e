#pragma once
#include "GENEW/reporting/impresos/ServiciosImpresion.h"
#include "projects/comun/PeticionImpreso.h"

// Runs a project window's print request through the print engine: its request values, its
// form with the two request tables made from the request's texts, the fill, the run. The
// form and its tables go however the run ends. salida, when given, is the engine's output
// target ("PDF:" + a file) instead of the preview or the printer.
void imprimirPeticionConMotor(const PeticionImpreso &peticion, const QString &salida = QString());

// The print engine behind the project windows' print hook while this lives, sharing the
// session's listing-cancelled flag.
class ImpresionPeticionInstalada
{
public:
    ImpresionPeticionInstalada();

private:
    Gancho<ImprimirPeticionFn>::Instalacion instalacion_;
    ServiciosImpresionInstalados servicios_;
};
