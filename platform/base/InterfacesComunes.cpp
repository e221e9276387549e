#include "platform/base/InterfacesComunes.h"

namespace {

FormularioPrincipal *formularioInstalado = nullptr;

} // namespace

FormularioPrincipal *InstalarFormularioPrincipal(FormularioPrincipal *formulario)
{
    FormularioPrincipal *previo = formularioInstalado;
    formularioInstalado = formulario;
    return previo;
}

FormularioPrincipal *formularioPrincipal()
{
    return formularioInstalado;
}
