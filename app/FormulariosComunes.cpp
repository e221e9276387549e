#include "app/FormulariosComunes.h"

#include "GENEW/data/ventanas/GENEBUSA.h"
#include "GENEW/data/ventanas/GENEBUSQ.h"
#include "GENEW/data/ventanas/GENECALC.h"
#include "GENEW/data/ventanas/GENECOPI.h"
#include "GENEW/data/ventanas/GENECPRO.h"
#include "GENEW/data/ventanas/GENEDETA.h"
#include "GENEW/data/ventanas/GENEFILT.h"
#include "GENEW/data/ventanas/GENEVMEM.h"
#include "GENEW/runtime/Geneinic.h"

namespace {

template<class F>
void crear(F *&global, QList<plat::Form *> &creados)
{
    if (global)
        return;
    global = plat::createForm<F>();
    creados << global;
}

} // namespace

void CrearFormulariosComunes(QList<plat::Form *> &creados)
{
    // The approximate search stands in for the plain one when the settings ask for it.
    if (fGENEINIC && fGENEINIC->Configuracion.parametros.BusquedaAproximadaActivada)
        crear(fGENEBUSA, creados);
    else
        crear(fGENEBUSQ, creados);
    crear(fGENECOPI, creados);
    crear(fGENEFILT, creados);
    crear(fGENEVMEM, creados);
    crear(fGENECALC, creados);
    crear(fGENECPRO, creados);
    crear(fGENEDETA, creados);
}
