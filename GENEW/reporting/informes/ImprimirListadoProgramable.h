#pragma once
#include "GENEW/data/ventanas/GENECPRO.h"

// Lists what the programmable listing dialog shows through the run-time listing: card or
// column format, title, paper, orientation and the grid's font, then preview (returns when
// the preview closes) or print with the printer dialog.
void ImprimirListadoProgramable(TfGENECPRO &dialogo, plat::DataSet &datos);

// Installs ImprimirListadoProgramable as the dialog's printing step while it lives.
class ImpresionListadoProgramableInstalada : public Gancho<ImprimirListadoFn>::Instalacion
{
public:
    ImpresionListadoProgramableInstalada()
        : Instalacion(ganchoImprimirListadoProgramable(), ImprimirListadoProgramable)
    {
    }
};
