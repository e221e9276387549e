#include "platform/base/InterfacesComunes.h"

namespace {

constinit Gancho<FormularioPrincipal *> ganchoFormulario(nullptr);

} // namespace

Gancho<FormularioPrincipal *> &ganchoFormularioPrincipal()
{
    return ganchoFormulario;
}

FormularioPrincipal *formularioPrincipal()
{
    return ganchoFormulario.valor();
}
